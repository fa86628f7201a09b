// The statistics of a generated archive of 100,000 games with varied values, against one plain
// sequential read of the same archive file (the yardstick of the scans): every figure and the
// groups of every chart, with the photo folder listed on the side. Then the screen: the time from
// the editor's button to the figures on view, with the longest stall of the event loop meanwhile,
// and the time to draw a chart at 1920 x 1080.
#include "editor/RecordEditor.h"
#include "statistics/BarChartView.h"
#include "statistics/CollectionStatistics.h"
#include "statistics/StatisticsReading.h"
#include "statistics/StatisticsScreen.h"
#include "storage/FieldText.h"
#include "storage/PhotoNames.h"
#include "storage/ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include "bench/SequentialRead.h"

#include <benchmark/benchmark.h>

using namespace brivanto;
using namespace brivanto::statistics;

namespace {

constexpr int RecordTotal = 100000;
const QString ArchiveName = QStringLiteral("Grande");

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

// The program folder of the benchmark.
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
// both photos (75,000 files).
const QString& archivePath()
{
    static const QString path = [] {
        const QString file = folder().filePath(ArchiveName + QStringLiteral(".gdt"));
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
        const auto statistics = readStatistics(archivePath(), photoFolderPath(), ArchiveName, {}, 2026);
        if (!statistics || statistics->figures().all.games != RecordTotal ||
            statistics->figures().withoutPhoto != RecordTotal / 2)
            state.SkipWithError("wrong figures");
    }
}

// The same with no photo folder, to tell what listing 75,000 photos adds.
void AllFiguresAndGroupsWithoutPhotos(benchmark::State& state)
{
    for (auto _ : state) {
        const auto statistics = readStatistics(archivePath(), folder().filePath(QStringLiteral("Nessuna")),
                                               ArchiveName, {}, 2026);
        if (!statistics || statistics->figures().all.games != RecordTotal)
            state.SkipWithError("wrong figures");
    }
}

// Listing the photo folder alone, as the statistics do it beside the reading.
void ListPhotosOnly(benchmark::State& state)
{
    for (auto _ : state) {
        const PhotosPresent photos = listPhotos(photoFolderPath(), ArchiveName, 1, RecordTotal).photos;
        benchmark::DoNotOptimize(photos.a.data());
    }
}

// From "Statistiche" on the editor to the figures on view, measured as the user waits for them;
// a timer of 1 ms on the user-interface thread tells the longest time the event loop did not run.
void WindowShowsFigures(benchmark::State& state)
{
    RecordEditor editor;
    editor.setArchive(archivePath(), ArchiveName);
    editor.resize(1920, 1080);
    editor.show();
    QApplication::processEvents();
    auto* button = editor.findChild<QWidget*>(QStringLiteral("cmdStatistiche"));
    double longestStall = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        qint64 shownAt = -1;
        qint64 lastTick = 0;
        qint64 stall = 0;
        QTimer ticker;
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            stall = std::max(stall, now - lastTick);
            lastTick = now;
        });
        QTimer::singleShot(0, [&] {
            auto* screen = qobject_cast<StatisticsScreen*>(QApplication::activeModalWidget());
            if (!screen) {
                state.SkipWithError("no statistics window");
                return;
            }
            const auto shown = [&, screen] {
                screen->repaint();
                shownAt = clock.elapsed();
                screen->reject();
            };
            if (!screen->isReading())
                shown();
            else
                QObject::connect(screen, &StatisticsScreen::readingDone, screen, shown);
        });
        clock.start();
        ticker.start();
        QMetaObject::invokeMethod(button, "click");
        ticker.stop();
        stall = std::max(stall, clock.elapsed() - lastTick);
        longestStall = std::max(longestStall, double(stall));
        state.SetIterationTime(double(shownAt) / 1000.0);
    }
    state.counters["longest_stall_ms"] = longestStall;
}

// Drawing the chart of a statistics window that fills a 1920 x 1080 screen: the chart on its own,
// and the whole window.
void DrawChart(benchmark::State& state, bool wholeWindow)
{
    RecordEditor editor;
    editor.setArchive(archivePath(), ArchiveName);
    StatisticsScreen screen(editor, StatisticsCoverage::wholeArchive(), &editor);
    if (!screen.startReading()) {
        state.SkipWithError("unreadable");
        return;
    }
    screen.show();
    screen.resize(1920, 1080);
    while (screen.isReading())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    screen.showChart(ChartId::Genre);
    QApplication::processEvents();
    auto* chart = screen.findChild<BarChartView*>(QStringLiteral("grfBarre"));
    QPixmap target(wholeWindow ? screen.size() : chart->viewport()->size());
    for (auto _ : state) {
        target.fill(Qt::white);
        if (wholeWindow)
            screen.render(&target);
        else
            chart->viewport()->render(&target);
    }
    state.counters["width"] = wholeWindow ? screen.width() : chart->viewport()->width();
    state.counters["bars"] = chart->model()->rowCount();
}

void DrawChartOnly(benchmark::State& state)
{
    DrawChart(state, false);
}

void DrawWholeWindow(benchmark::State& state)
{
    DrawChart(state, true);
}

} // namespace

// Wall-clock times, the targets' measure; the processor time of all threads beside the two that
// the ratio compares, to tell how busy the machine was.
BENCHMARK(PlainSequentialRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlainSequentialRead)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(AllFiguresAndGroups)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AllFiguresAndGroups)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(AllFiguresAndGroupsWithoutPhotos)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ListPhotosOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WindowShowsFigures)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(DrawChartOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DrawWholeWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    // A desktop-sized screen, so that the window and its chart take their real size.
    QTemporaryDir config;
    QFile screens(config.filePath(QStringLiteral("screens.json")));
    screens.open(QIODevice::WriteOnly);
    screens.write(R"({"screens":[{"name":"s","x":0,"y":0,"width":1920,"height":1080}]})");
    screens.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    QApplication app(argc, argv);
    setProgramFolderForTesting(folder().path());
    archivePath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
