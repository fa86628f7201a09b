// Deleting record 1 of a large archive, with a photo pair for one record in a hundred, against
// the least any crash-safe deletion must do: copying the archive file with one flush to disk and
// a rename, and renaming the same photo files with plain calls. Both start from the same freshly
// written, page-cached archive, with the disk's queue emptied first.
#include "storage/FieldText.h"
#include "storage/GameArchive.h"
#include "storage/PhotoNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

using namespace brivanto;

namespace {

const QString Name = QStringLiteral("Grande");

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

struct Folder
{
    QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/brivanto-bench-XXXXXX")};
    QString archive = dir.filePath(Name + QStringLiteral(".gdt"));
    QString photos = dir.filePath(QStringLiteral("Foto_Gioco"));
    // The deleted photos go to a trash of the benchmark's own.
    const bool trash = qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("dati"))));
};

GameRecord recordAt(int position)
{
    GameRecord record;
    for (const FieldInfo& info : Fields)
        textToField(QStringLiteral("Gioco %1 campo").arg(position), fieldAt(record, info), info.capacity);
    return record;
}

// Positions with a photo pair: 2, 102, 202 ... (one record in a hundred, all after record 1).
std::vector<int> photoPositions(int records)
{
    std::vector<int> positions;
    for (int p = 2; p <= records; p += 100)
        positions.push_back(p);
    return positions;
}

void prepare(const Folder& folder, int records)
{
    std::vector<char> block;
    const GameRecord first = recordAt(1);
    const GameRecord other = recordAt(2);
    const int fd = ::open(native(folder.archive).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    block.reserve(256 * RecordSize);
    for (int p = 1; p <= records; ++p) {
        const GameRecord& record = p == 1 ? first : other;
        block.insert(block.end(), reinterpret_cast<const char*>(&record),
                     reinterpret_cast<const char*>(&record) + RecordSize);
        if (block.size() >= 256 * RecordSize || p == records) {
            if (::write(fd, block.data(), block.size()) != ssize_t(block.size()))
                std::abort();
            block.clear();
        }
    }
    ::close(fd);
    QDir(folder.photos).removeRecursively();
    QDir().mkpath(folder.photos);
    for (int p : photoPositions(records))
        for (char slot : {'A', 'B'}) {
            QFile file(folder.photos + QLatin1Char('/') + photoFileName(Name, p, slot));
            if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(20000, slot)) != 20000)
                std::abort();
        }
    ::sync();
}

void DeleteRecord(benchmark::State& state)
{
    const int records = int(state.range(0));
    const Folder folder;
    const GameRecord first = recordAt(1);
    const QByteArray expected(reinterpret_cast<const char*>(&first), RecordSize);
    for (auto _ : state) {
        state.PauseTiming();
        prepare(folder, records);
        state.ResumeTiming();
        const DeletionResult result =
            GameArchive(folder.archive, folder.photos, Name).deleteRecord(1, expected);
        if (result.outcome != DeletionOutcome::Deleted || result.recordCount != records - 1)
            state.SkipWithError("deletion failed");
    }
}

void CopyArchiveAndRenamePhotos(benchmark::State& state)
{
    const int records = int(state.range(0));
    const Folder folder;
    const QByteArray archive = native(folder.archive);
    const QByteArray copy = native(folder.archive + QStringLiteral(".copia"));
    std::vector<char> buffer(1 << 20);
    std::vector<std::pair<QByteArray, QByteArray>> renames;
    for (int p : photoPositions(records))
        for (char slot : {'A', 'B'})
            renames.emplace_back(native(folder.photos + QLatin1Char('/') + photoFileName(Name, p, slot)),
                                 native(folder.photos + QLatin1Char('/') + photoFileName(Name, p - 1, slot)));
    for (auto _ : state) {
        state.PauseTiming();
        prepare(folder, records);
        state.ResumeTiming();
        const int in = ::open(archive.constData(), O_RDONLY);
        const int out = ::open(copy.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        for (ssize_t n; (n = ::read(in, buffer.data(), buffer.size())) > 0;)
            if (::write(out, buffer.data(), std::size_t(n)) != n)
                state.SkipWithError("write failed");
        if (::fsync(out) != 0)
            state.SkipWithError("fsync failed");
        ::close(in);
        ::close(out);
        if (::rename(copy.constData(), archive.constData()) != 0)
            state.SkipWithError("rename failed");
        for (const auto& [from, to] : renames)
            if (::rename(from.constData(), to.constData()) != 0)
                state.SkipWithError("photo rename failed");
    }
}

} // namespace

BENCHMARK(DeleteRecord)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(CopyArchiveAndRenamePhotos)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK_MAIN();
