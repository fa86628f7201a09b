// The export grid on a large archive, each against the input and output it cannot avoid, done
// with plain calls in the same run: filling the grid against one sequential read of the archive,
// and the whole spreadsheet export (the grid filled, then the worksheet written and made durable)
// against that read followed by writing the worksheet's bytes in one call and syncing them. Also
// reports the memory the grid holds.
#include "output/ExportGrid.h"
#include "output/ExportWriter.h"
#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "bench/SequentialRead.h"

using namespace brivanto;

namespace {

constexpr int RecordTotal = 100000;

QTemporaryDir& workFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/brivanto-bench-XXXXXX"));
    return dir;
}

// Records as a collector fills them: short texts in most fields, a few longer ones, some empty.
const QString& archivePath()
{
    static const QString path = [] {
        const QString file = workFolder().filePath(QStringLiteral("Grande.gdt"));
        ArchiveFile archive;
        archive.Open(file);
        GameRecord record{};
        for (int i = 0; i < RecordTotal; ++i) {
            const QString n = QString::number(i);
            const QStringList texts{
                QStringLiteral("Gioco da tavolo ") + n,
                QStringLiteral("ID-") + n,
                QStringLiteral("Strategico"),
                QStringLiteral("Editrice & Figli"),
                QStringLiteral("Una partita di conquista per due o quattro giocatori, edizione ") + n,
                QStringLiteral("1995"),
                QStringLiteral("125,50"),
                QStringLiteral("Italiano"),
                QStringLiteral("Autore Celebre"),
                QStringLiteral("Rara"),
                QStringLiteral("Italia"),
                QStringLiteral("Media"),
                QStringLiteral("30 x 30 x 8"),
                QString(),
                QStringLiteral("Tabellone, 60 pedine, 2 dadi, regolamento"),
                QStringLiteral("2-4"),
                QStringLiteral("10+"),
                QStringLiteral("90 minuti"),
                QStringLiteral("Ottimo"),
                QStringLiteral("Scaffale <B>"),
                QString(),
                i % 2 ? QStringLiteral("No") : ForSaleYes};
            for (int f = 0; f < FieldCount; ++f)
                textToField(f < texts.size() ? texts[f] : QString(), fieldAt(record, Fields[f]),
                            Fields[f].capacity);
            archive.Seek(i);
            archive.Write(record);
        }
        archive.Close();
        return file;
    }();
    return path;
}

ExportGridModel& filledGrid()
{
    static ExportGridModel grid;
    if (grid.rowCount() == 0)
        grid.fillFromArchive(archivePath());
    return grid;
}

const QByteArray& worksheetBytes()
{
    static const QByteArray bytes = [] {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        writeExport(buffer, filledGrid());
        return buffer.data();
    }();
    return bytes;
}

void FillGrid(benchmark::State& state)
{
    const QString path = archivePath();
    for (auto _ : state) {
        ExportGridModel grid;
        grid.fillFromArchive(path);
        if (grid.rowCount() != RecordTotal)
            state.SkipWithError("wrong row count");
        state.counters["grid_bytes"] = double(grid.heldBytes());
    }
    state.counters["archive_bytes"] = double(RecordTotal) * double(RecordSize);
}

void SequentialArchiveRead(benchmark::State& state)
{
    plainSequentialRead(state, archivePath(), std::int64_t(RecordTotal) * std::int64_t(RecordSize));
}

// What the user waits for from opening the export screen to the worksheet in its place.
void ExportSpreadsheet(benchmark::State& state)
{
    const QString path = workFolder().filePath(QStringLiteral("Zendaro.xls"));
    for (auto _ : state) {
        ExportGridModel grid;
        grid.fillFromArchive(archivePath());
        if (!writeExportFile(path, grid))
            state.SkipWithError("export failed");
    }
    state.counters["worksheet_bytes"] = double(worksheetBytes().size());
}

// The worksheet is replaced safely, which syncs it before the rename.
void ReadArchiveThenWriteWorksheet(benchmark::State& state)
{
    plainReadThenWrite(state, archivePath(), std::int64_t(RecordTotal) * std::int64_t(RecordSize),
                       worksheetBytes(), workFolder().filePath(QStringLiteral("Copia.xls")), true);
}

} // namespace

BENCHMARK(FillGrid)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SequentialArchiveRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ExportSpreadsheet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadArchiveThenWriteWorksheet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
