// The statistics of a generated archive of 100,000 games with varied values, against one plain
// sequential read of the same archive file (the yardstick of the scans): every figure and the
// groups of every chart, with the photo folder listed on the side.
#include "statistics/CollectionStatistics.h"
#include "statistics/StatisticsReading.h"
#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "bench/SequentialRead.h"

#include <benchmark/benchmark.h>

using namespace brivanto;
using namespace brivanto::statistics;

namespace {

constexpr int RecordTotal = 100000;

const QStringList Genres = {
    QStringLiteral("Strategico"), QStringLiteral("strategico"),          QStringLiteral("Cooperativo"),
    QStringLiteral("Party game"), QStringLiteral("Gestionale"),          QStringLiteral("Astratto"),
    QStringLiteral("Deduzione"),  QStringLiteral("Piazzamento tessere"), QString()};
const QStringList Conditions = {QStringLiteral("Ottimo"), QStringLiteral("Buono"), QStringLiteral("Discreto"),
                                QStringLiteral("Da restaurare"), QStringLiteral("Nuovo, in cellophane")};
const QStringList Rarities = {QStringLiteral("Comune"), QStringLiteral("Rara"), QStringLiteral("Rarità"),
                              QStringLiteral("RARITA'"), QStringLiteral("Introvabile")};
const QStringList Languages = {QStringLiteral("Italiano"), QStringLiteral("Inglese"),
                               QStringLiteral("Tedesco"), QStringLiteral("Francese"),
                               QStringLiteral("Italiano e inglese")};
const QStringList Countries = {QStringLiteral("Italia"),      QStringLiteral("Germania"),
                               QStringLiteral("Stati Uniti"), QStringLiteral("Francia"),
                               QStringLiteral("Regno Unito"), QStringLiteral("Giappone")};
const QStringList Players = {QStringLiteral("2-4"), QStringLiteral("2\u20135"),      QStringLiteral("1-6"),
                             QStringLiteral("2+"),  QStringLiteral("3-8 giocatori"), QStringLiteral("tutti"),
                             QStringLiteral("2")};
const QStringList Times = {QStringLiteral("45 minuti"), QStringLiteral("60-90 min"),
                           QStringLiteral("2 ore"),     QStringLiteral("30'"),
                           QStringLiteral("1h30"),      QStringLiteral("una serata")};
const QStringList Complexities = {QStringLiteral("Bassa"), QStringLiteral("Media"), QStringLiteral("Alta"),
                                  QStringLiteral("Media: regole in 20 minuti")};
const QStringList Ages = {QStringLiteral("8+"), QStringLiteral("10+"), QStringLiteral("da 12 anni"),
                          QStringLiteral("14 anni"), QStringLiteral("tutte")};

void setField(GameRecord& record, int index, const QString& text)
{
    textToField(text, fieldAt(record, Fields[std::size_t(index)]), Fields[std::size_t(index)].capacity);
}

GameRecord generatedGame(int n, QRandomGenerator& random)
{
    GameRecord record{};
    const auto pick = [&](const QStringList& from) { return from[int(random.bounded(from.size()))]; };
    setField(record, 0, QStringLiteral("Gioco numero %1").arg(n));
    setField(record, 1, QStringLiteral("BG-%1").arg(n, 6, 10, QChar(u'0')));
    setField(record, 2, pick(Genres));
    setField(record, 3, QStringLiteral("Editore %1").arg(random.bounded(40)));
    setField(record, 4, QStringLiteral("Un gioco per tutta la famiglia, con plancia e carte."));
    setField(record, 5,
             random.bounded(50) == 0 ? QStringLiteral("'80") : QString::number(random.bounded(1950, 2026)));
    setField(record, 6,
             random.bounded(20) == 0 ? QStringLiteral("0,00")
                                     : QStringLiteral("%1,%2")
                                           .arg(random.bounded(1, 3000))
                                           .arg(random.bounded(100), 2, 10, QChar(u'0')));
    setField(record, 7, pick(Languages));
    setField(record, 8, QStringLiteral("Autore %1").arg(random.bounded(1, 500)));
    setField(record, 9, pick(Rarities));
    setField(record, 10, pick(Countries));
    setField(record, 11, pick(Complexities));
    setField(record, 13, random.bounded(8) == 0 ? QStringLiteral("Angolo ammaccato") : QString());
    setField(record, 14, QStringLiteral("Plancia, 120 carte, 40 segnalini, regolamento"));
    setField(record, 15, pick(Players));
    setField(record, 16, pick(Ages));
    setField(record, 17, pick(Times));
    setField(record, 18, pick(Conditions));
    setField(record, 19, QStringLiteral("Scaffale %1").arg(random.bounded(1, 25)));
    setField(record, 20, QStringLiteral("Acquistato a una fiera"));
    writeForSale(record, random.bounded(10) == 0);
    return record;
}

QTemporaryDir& folder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/brivanto-bench-XXXXXX"));
    return dir;
}

QString photoFolderPath()
{
    return folder().filePath(QStringLiteral("Foto_Gioco"));
}

// The archive, and a photo folder in which half the games have their box photo and a quarter
// both photos.
const QString& archivePath()
{
    static const QString path = [] {
        const QString file = folder().filePath(QStringLiteral("Grande.gdt"));
        QRandomGenerator random(2028);
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        for (int n = 0; n < RecordTotal; ++n) {
            const GameRecord record = generatedGame(n, random);
            out.write(reinterpret_cast<const char*>(&record), sizeof record);
        }
        QDir(folder().path()).mkpath(QStringLiteral("Foto_Gioco"));
        for (int position = 1; position <= RecordTotal; position += 2) {
            QFile(photoFolderPath() + QStringLiteral("/Grande_Foto_A_%1.jpg").arg(position))
                .open(QIODevice::WriteOnly);
            if (position % 4 == 1)
                QFile(photoFolderPath() + QStringLiteral("/Grande_Foto_B_%1.jpg").arg(position))
                    .open(QIODevice::WriteOnly);
        }
        return file;
    }();
    return path;
}

void PlainSequentialRead(benchmark::State& state)
{
    plainSequentialRead(state, archivePath(), std::int64_t(RecordTotal) * std::int64_t(RecordSize));
}

// Every figure and every chart's groups, the photo folder listed beside the archive.
void AllFiguresAndGroups(benchmark::State& state)
{
    for (auto _ : state) {
        const auto statistics =
            readStatistics(archivePath(), photoFolderPath(), QStringLiteral("Grande"), {}, 2026);
        if (!statistics || statistics->figures().all.games != RecordTotal)
            state.SkipWithError("wrong number of games");
        benchmark::DoNotOptimize(statistics->groups(ChartId::Genre).size());
    }
}

// The same without photos, to show what listing the folder adds.
void AllFiguresAndGroupsNoPhotoFolder(benchmark::State& state)
{
    for (auto _ : state) {
        const auto statistics = readStatistics(archivePath(), folder().filePath(QStringLiteral("none")),
                                               QStringLiteral("Grande"), {}, 2026);
        if (!statistics || statistics->figures().all.games != RecordTotal)
            state.SkipWithError("wrong number of games");
    }
}

// Only the archive's own reading, record by record, with nothing done with the records.
void ArchiveReadOnly(benchmark::State& state)
{
    for (auto _ : state) {
        ArchiveFile archive;
        archive.Open(archivePath(), ArchiveFile::Access::Read);
        std::uint64_t sum = 0;
        while (!archive.AtEnd())
            sum += archive.ReadInPlace().name.length;
        benchmark::DoNotOptimize(sum);
    }
}

void AddOnly(benchmark::State& state)
{
    std::vector<GameRecord> some(1000);
    QFile in(archivePath());
    in.open(QIODevice::ReadOnly);
    in.read(reinterpret_cast<char*>(some.data()), qint64(some.size() * sizeof(GameRecord)));
    for (auto _ : state) {
        CollectionStatistics statistics(2026);
        for (int n = 0; n < RecordTotal; ++n)
            statistics.add(some[std::size_t(n % 1000)], n + 1);
        statistics.finish(nullptr);
    }
}

} // namespace

BENCHMARK(ArchiveReadOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AddOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlainSequentialRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AllFiguresAndGroups)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AllFiguresAndGroups)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(AllFiguresAndGroupsNoPhotoFolder)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(AllFiguresAndGroupsNoPhotoFolder)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    archivePath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
