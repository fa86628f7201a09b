#pragma once

#include <QFile>
#include <QString>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

// The baseline of the archive benchmarks: one plain sequential read of the whole file in large
// blocks, which must come to `expectedBytes`.
inline void plainSequentialRead(benchmark::State& state, const QString& file, std::int64_t expectedBytes)
{
    const QByteArray path = QFile::encodeName(file);
    std::vector<char> block(1 << 20);
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_RDONLY);
        std::int64_t total = 0;
        for (ssize_t n; (n = ::read(fd, block.data(), block.size())) > 0;) {
            benchmark::DoNotOptimize(block.data());
            total += n;
        }
        ::close(fd);
        if (total != expectedBytes)
            state.SkipWithError("short read");
    }
}
