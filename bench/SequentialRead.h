#pragma once

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

// One plain sequential read of a whole file in large blocks: the yardstick of the benchmarks
// that visit an archive. Returns the number of bytes read.
inline std::int64_t readWholeFile(const QByteArray& path)
{
    static std::vector<char> block(1 << 20);
    const int fd = ::open(path.constData(), O_RDONLY);
    std::int64_t total = 0;
    for (ssize_t n; (n = ::read(fd, block.data(), block.size())) > 0;) {
        benchmark::DoNotOptimize(block.data());
        total += n;
    }
    ::close(fd);
    return total;
}

// The yardstick as a benchmark body: the whole file, which must come to `expectedBytes`.
inline void plainSequentialRead(benchmark::State& state, const QString& file, std::int64_t expectedBytes)
{
    const QByteArray path = QFile::encodeName(file);
    for (auto _ : state) {
        if (readWholeFile(path) != expectedBytes)
            state.SkipWithError("short read");
    }
}
