// The CSV exchange on a 100,000-record archive, each side against its plain counterpart in the
// same run: the export against what it cannot avoid, reading the archive once and then writing
// the same bytes in one call and syncing them, as the export's safe replacement does; the import
// into an empty archive against reading the file and writing the archive's bytes with plain
// calls; and the planning that the summary window waits for.
//
// With --plan <file> it only plans that file (for measuring the memory of planning a large file
// with /usr/bin/time), and with --make-large <file> <bytes> it writes a file of this program's
// own kind of about that size.
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"
#include "storage/PhotoNames.h"
#include "storage/ProgramFolder.h"

#include "bench/SequentialRead.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

using namespace brivanto;

namespace {

constexpr int RecordTotal = 100000;

QTemporaryDir& workFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/brivanto-bench-XXXXXX"));
    return dir;
}

// Records as a collector fills them, with the values CSV must quote now and then.
GameRecord sampleRecord(int i)
{
    const QString n = QString::number(i);
    const QStringList texts{
        QStringLiteral("Gioco da tavolo ") + n,
        QStringLiteral("ID-") + n,
        QStringLiteral("Strategico"),
        QStringLiteral("Editrice; Figli"),
        QStringLiteral("Una partita di conquista per due o quattro giocatori, edizione ") + n,
        QStringLiteral("1995"),
        QStringLiteral("125,50"),
        QStringLiteral("Italiano"),
        QStringLiteral("Autore Celebre"),
        QStringLiteral("Rarit\u00E0 media"),
        QStringLiteral("Italia"),
        QStringLiteral("2,4 / 5"),
        QStringLiteral("30 x 30 x 8"),
        QString(),
        QStringLiteral("Tabellone, 60 pedine, 2 dadi, \"regolamento\""),
        QStringLiteral("2-4"),
        QStringLiteral("10+"),
        QStringLiteral("90 minuti"),
        QStringLiteral("Ottimo"),
        QStringLiteral("Scaffale B"),
        QString(),
        i % 2 ? QStringLiteral("No") : ForSaleYes};
    GameRecord record{};
    for (int f = 0; f < FieldCount; ++f)
        textToField(texts.value(f), fieldAt(record, Fields[f]), Fields[f].capacity);
    return record;
}

const QString& archivePath()
{
    static const QString path = [] {
        const QString file = workFolder().filePath(QStringLiteral("Grande.gdt"));
        std::vector<GameRecord> records;
        records.reserve(RecordTotal);
        for (int i = 0; i < RecordTotal; ++i)
            records.push_back(sampleRecord(i));
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(reinterpret_cast<const char*>(records.data()), qint64(records.size() * RecordSize));
        return file;
    }();
    return path;
}

const QString& csvPath()
{
    static const QString path = [] {
        const QString file = workFolder().filePath(QStringLiteral("Grande.csv"));
        exportArchiveCsv(archivePath(), file);
        return file;
    }();
    return path;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void ExportCsv(benchmark::State& state)
{
    const QString source = archivePath();
    const QString target = workFolder().filePath(QStringLiteral("Export.csv"));
    for (auto _ : state) {
        if (exportArchiveCsv(source, target) != CsvExportStatus::Written)
            state.SkipWithError("export failed");
    }
    state.counters["csv_bytes"] = double(QFileInfo(target).size());
}

// The archive read once in large blocks, then the export's bytes written in one call, synced and
// renamed over the previous file, one after the other with plain calls.
void ReadArchiveThenWriteCsv(benchmark::State& state)
{
    plainReadThenWrite(state, archivePath(), std::int64_t(RecordTotal) * std::int64_t(RecordSize),
                       fileBytes(csvPath()), workFolder().filePath(QStringLiteral("Copia.csv")), true);
}

// A photo folder with both photos of every game (empty files: only their names are listed).
const QString& fullPhotoFolder()
{
    static const QString folder = [] {
        const QString path = workFolder().filePath(QStringLiteral("Foto"));
        QDir().mkpath(path);
        for (int position = 1; position <= RecordTotal; ++position) {
            for (const char slot : {'A', 'B'}) {
                QFile photo(path + QLatin1Char('/') + photoFileName(u"Grande", position, slot));
                photo.open(QIODevice::WriteOnly);
            }
        }
        return path;
    }();
    return folder;
}

// What an export adds when every game has its photos: one listing of the photo folder.
void ListPhotosOfEveryGame(benchmark::State& state)
{
    const QString folder = fullPhotoFolder();
    for (auto _ : state) {
        const PhotosPresent photos = listPhotos(folder, QStringLiteral("Grande"), 1, RecordTotal).photos;
        if (!photos.has('B', RecordTotal))
            state.SkipWithError("photos not found");
    }
}

void ImportCsvIntoEmptyArchive(benchmark::State& state)
{
    const QString source = csvPath();
    const QString target = workFolder().filePath(QStringLiteral("Importato.gdt"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(target);
        state.ResumeTiming();
        const ImportOutcome outcome = importCsvFile(source, target);
        if (outcome.imported != RecordTotal)
            state.SkipWithError("import failed");
    }
}

// Reading the CSV file and writing the archive's bytes (made beforehand) with plain calls, made
// durable as the import makes them.
void ReadFileAndWriteArchiveBytes(benchmark::State& state)
{
    const QByteArray source = QFile::encodeName(csvPath());
    const QByteArray archive = fileBytes(archivePath());
    const QByteArray target = QFile::encodeName(workFolder().filePath(QStringLiteral("Piano.gdt")));
    const std::int64_t csvSize = QFileInfo(csvPath()).size();
    for (auto _ : state) {
        state.PauseTiming();
        ::unlink(target.constData());
        state.ResumeTiming();
        if (readWholeFile(source) != csvSize)
            state.SkipWithError("short read");
        const int fd = ::open(target.constData(), O_RDWR | O_CREAT, 0666);
        if (fd < 0 || ::write(fd, archive.constData(), size_t(archive.size())) != archive.size() ||
            ::fdatasync(fd) != 0)
            state.SkipWithError("write failed");
        ::close(fd);
    }
}

void PlanImport(benchmark::State& state)
{
    const QString source = csvPath();
    const QString empty = workFolder().filePath(QStringLiteral("Vuoto.gdt"));
    for (auto _ : state) {
        if (planCsvImportFile(source, empty).toImport != RecordTotal)
            state.SkipWithError("plan failed");
    }
}

// A file of this program's kind of at least `bytes` bytes: the rows of the export, again and again.
int makeLarge(const char* path, long long bytes)
{
    const QByteArray csv = fileBytes(csvPath());
    const qsizetype rowsStart = csv.indexOf("\r\n") + 2;
    QFile out(QString::fromLocal8Bit(path));
    if (!out.open(QIODevice::WriteOnly))
        return 1;
    out.write(csv.left(rowsStart));
    const QByteArray rows = csv.mid(rowsStart);
    long long written = rowsStart;
    do {
        if (out.write(rows) != rows.size())
            return 1;
        written += rows.size();
    } while (written < bytes);
    return 0;
}

int planOnly(const char* path)
{
    const ImportPlan plan =
        planCsvImportFile(QString::fromLocal8Bit(path), workFolder().filePath(QStringLiteral("Vuoto.gdt")));
    std::printf("planned %d games to import%s\n", plan.toImport, plan.ok() ? "" : " (error)");
    return plan.ok() ? 0 : 1;
}

} // namespace

BENCHMARK(ExportCsv)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadArchiveThenWriteCsv)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ListPhotosOfEveryGame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ImportCsvIntoEmptyArchive)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadFileAndWriteArchiveBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlanImport)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    setProgramFolderForTesting(workFolder().path());
    if (argc == 4 && std::strcmp(argv[1], "--make-large") == 0)
        return makeLarge(argv[2], std::atoll(argv[3]));
    if (argc == 3 && std::strcmp(argv[1], "--plan") == 0)
        return planOnly(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
