// Visiting every record of a large archive through ArchiveFile, against one plain sequential
// read of the same file in large blocks. Both read the same, page-cached file in the same run.
#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "bench/SequentialRead.h"

#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

using namespace brivanto;

namespace {

constexpr int RecordTotal = 100000;

const QString& archivePath()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/brivanto-bench-XXXXXX"));
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("Grande.gdt"));
        GameRecord record;
        ArchiveFile archive;
        archive.Open(file);
        for (int i = 0; i < RecordTotal; ++i) {
            for (const FieldInfo& info : Fields)
                textToField(QStringLiteral("Gioco %1 campo").arg(i), fieldAt(record, info), info.capacity);
            archive.Seek(i);
            archive.Write(record);
        }
        archive.Close();
        return file;
    }();
    return path;
}

void ArchiveFileVisit(benchmark::State& state)
{
    const QString path = archivePath();
    GameRecord record;
    for (auto _ : state) {
        ArchiveFile archive;
        archive.Open(path, ArchiveFile::Access::Read);
        int visited = 0;
        while (!archive.AtEnd()) {
            archive.Read(record);
            benchmark::DoNotOptimize(record);
            ++visited;
        }
        archive.Close();
        if (visited != RecordTotal)
            state.SkipWithError("wrong record count");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(RecordTotal) * std::int64_t(RecordSize));
}

void PlainSequentialRead(benchmark::State& state)
{
    plainSequentialRead(state, archivePath(), std::int64_t(RecordTotal) * std::int64_t(RecordSize));
    state.SetBytesProcessed(state.iterations() * std::int64_t(RecordTotal) * std::int64_t(RecordSize));
}

} // namespace

BENCHMARK(PlainSequentialRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ArchiveFileVisit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
