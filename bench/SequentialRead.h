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

// The least a safe replacement of an output file does: `bytes`, already made, written to a new
// file beside `path` in one call, made durable when `sync` (as a replacement that syncs makes
// them), and renamed over `path`. False when a call fails.
inline bool replaceInOneWrite(const QByteArray& path, const QByteArray& bytes, bool sync)
{
    const QByteArray temporary = path + ".tmp";
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size() &&
                         (!sync || ::fdatasync(fd) == 0);
    return ::close(fd) == 0 && written && ::rename(temporary.constData(), path.constData()) == 0;
}

// The yardstick of an export, as a benchmark body: the input and output the export cannot avoid,
// with plain calls one after the other. The archive (of `archiveBytes`) read once in large blocks,
// then the export's `output` bytes written in one call into `target`, synced when the export syncs.
inline void plainReadThenWrite(benchmark::State& state, const QString& archive, std::int64_t archiveBytes,
                               const QByteArray& output, const QString& target, bool sync)
{
    const QByteArray source = QFile::encodeName(archive);
    const QByteArray path = QFile::encodeName(target);
    for (auto _ : state) {
        if (readWholeFile(source) != archiveBytes)
            state.SkipWithError("short read");
        if (!replaceInOneWrite(path, output, sync))
            state.SkipWithError("write failed");
    }
}
