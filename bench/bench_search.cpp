// Search and list timings on a generated archive of 100,000 games with realistic values, each
// against a baseline measured in the same run: one plain sequential read of the archive file,
// or, for "Trova", a plain case-folded substring scan of the same lines.
#include "editor/RecordEditorAccess.h"
#include "search/ArchiveScan.h"
#include "search/ListFind.h"
#include "search/ListLine.h"
#include "search/ListLineModel.h"
#include "search/SearchScreen.h"
#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "bench/SequentialRead.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <fcntl.h>
#include <unistd.h>

using namespace brivanto;

namespace {

constexpr int RecordTotal = 100000;

// One record in a hundred has this word in its title.
const QString RareWord = QStringLiteral("Leggendario");

const QStringList Words = {
    QStringLiteral("Regno"),     QStringLiteral("Draghi"),   QStringLiteral("Città"),
    QStringLiteral("Isola"),     QStringLiteral("Mercanti"), QStringLiteral("Castello"),
    QStringLiteral("Pirati"),    QStringLiteral("Foresta"),  QStringLiteral("Torre"),
    QStringLiteral("Impero"),    QStringLiteral("Viaggio"),  QStringLiteral("Tesoro"),
    QStringLiteral("Stelle"),    QStringLiteral("Oceano"),   QStringLiteral("Ferrovie"),
    QStringLiteral("Vulcano"),   QStringLiteral("Corona"),   QStringLiteral("Labirinto"),
    QStringLiteral("Cavalieri"), QStringLiteral("Spezie"),
};
const QStringList Genres = {QStringLiteral("Strategico"), QStringLiteral("Cooperativo"),
                            QStringLiteral("Party game"), QStringLiteral("Gestionale"),
                            QStringLiteral("Astratto"),   QStringLiteral("Deduzione")};
const QStringList Publishers = {QStringLiteral("Dal Negro"),        QStringLiteral("Editrice Giochi"),
                                QStringLiteral("Clementoni"),       QStringLiteral("Giochi Uniti"),
                                QStringLiteral("Cranio Creations"), QStringLiteral("dV Giochi")};

void setField(GameRecord& record, int index, const QString& text)
{
    textToField(text, fieldAt(record, Fields[static_cast<std::size_t>(index)]),
                Fields[static_cast<std::size_t>(index)].capacity);
}

GameRecord generatedGame(int n, QRandomGenerator& random)
{
    GameRecord record{};
    const auto pick = [&](const QStringList& from) {
        return from[static_cast<int>(random.bounded(from.size()))];
    };
    QString title = pick(Words) + QStringLiteral(" dei ") + pick(Words) + QStringLiteral(" ") +
                    QString::number(random.bounded(1, 9));
    if (n % 100 == 37)
        title = RareWord + QStringLiteral(" ") + title;
    setField(record, 0, title);
    setField(record, 1, QStringLiteral("BG-%1").arg(n, 6, 10, QChar(u'0')));
    setField(record, 2, pick(Genres));
    setField(record, 3, pick(Publishers));
    setField(record, 4,
             QStringLiteral("Un gioco di %1 e %2 per tutta la famiglia, con plancia e carte.")
                 .arg(pick(Words), pick(Words)));
    setField(record, 5, QString::number(random.bounded(1950, 2025)));
    setField(
        record, 6,
        QStringLiteral("%1,%2").arg(random.bounded(1, 300)).arg(random.bounded(100), 2, 10, QChar(u'0')));
    setField(record, 7, QStringLiteral("Italiano"));
    setField(record, 8, QStringLiteral("Autore %1").arg(random.bounded(1, 500)));
    setField(record, 10, QStringLiteral("Italia"));
    setField(record, 14, QStringLiteral("Plancia, 120 carte, 40 segnalini, regolamento"));
    setField(record, 15, QStringLiteral("2-5"));
    setField(record, 20, QStringLiteral("Acquistato a una fiera, ottimo stato"));
    writeForSale(record, random.bounded(10) == 0);
    return record;
}

const QString& archivePath()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/brivanto-bench-XXXXXX"));
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("Grande.gdt"));
        QRandomGenerator random(2024);
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        for (int n = 0; n < RecordTotal; ++n) {
            const GameRecord record = generatedGame(n, random);
            out.write(reinterpret_cast<const char*>(&record), sizeof record);
        }
        return file;
    }();
    return path;
}

const ListLines& allLines()
{
    static const ListLines lines = scanArchive(archivePath(), [](const GameRecord&) { return true; }).lines;
    return lines;
}

// The same lines as texts, for the plain scan that "Trova" is measured against.
const QStringList& allTexts()
{
    static const QStringList texts = [] {
        QStringList decoded;
        for (qsizetype row = 0; row < allLines().size(); ++row)
            decoded.append(allLines().at(row));
        return decoded;
    }();
    return texts;
}

class NoEditor final : public RecordEditorAccess
{
public:
    QWidget* owner() override { return nullptr; }
    QString archiveFile() const override { return archivePath(); }
    QString archiveName() const override { return QStringLiteral("Grande"); }
    QString position() const override { return {}; }
    QStringList fieldTexts() const override { return {}; }
    bool forSale() const override { return false; }
    AttachmentLabels attachments() const override { return {}; }
    void setAttachments(const AttachmentLabels&) override {}
    void ShowRecord(const GameRecord&, int) override {}
    bool offerToSaveChanges() override { return true; }
    QImage photo(PhotoSlotId) const override { return {}; }
    void putPhoto(PhotoSlotId, const QImage&) override {}
};

void PlainSequentialRead(benchmark::State& state)
{
    plainSequentialRead(state, archivePath(), std::int64_t(RecordTotal) * std::int64_t(RecordSize));
}

// "Cerca" on the real screen, from the press to the list painted.
void searchOnScreen(benchmark::State& state, const QString& titleFilter, qsizetype expected)
{
    NoEditor editor;
    for (auto _ : state) {
        state.PauseTiming();
        auto screen = std::make_unique<SearchScreen>(editor, nullptr);
        screen->show();
        screen->findChild<QLineEdit*>(QStringLiteral("txtTitolo"))->setText(titleFilter);
        QApplication::processEvents();
        state.ResumeTiming();
        screen->findChild<QPushButton*>(QStringLiteral("btnCerca"))->click();
        screen->repaint();
        state.PauseTiming();
        if (screen->listedLines().size() != expected)
            state.SkipWithError("wrong number of lines");
        screen.reset();
        state.ResumeTiming();
    }
}

void OneFilterSearch(benchmark::State& state)
{
    searchOnScreen(state, RareWord.toLower(), RecordTotal / 100);
}

void NoFilterSearch(benchmark::State& state)
{
    searchOnScreen(state, QString(), RecordTotal);
}

void DoubleClickRescan(benchmark::State& state)
{
    const QString line = allLines().at(RecordTotal / 2);
    for (auto _ : state) {
        const AnsweringRecords answering = findAnsweringRecords(archivePath(), line);
        if (!answering.last)
            state.SkipWithError("no record answers");
    }
}

// A key that only the last line of the list holds.
QString lastLineKey()
{
    return allTexts().back().mid(36, 9).toUpper(); // its code, typed in capitals
}

void TrovaLastLine(benchmark::State& state)
{
    const ListLines& lines = allLines();
    const QString key = lastLineKey();
    for (auto _ : state) {
        ListFind find;
        if (find.next(lines, -1, key) != lines.size() - 1)
            state.SkipWithError("not found on the last line");
    }
}

void PlainFoldedScan(benchmark::State& state)
{
    const QStringList& lines = allTexts();
    const QString key = lastLineKey();
    for (auto _ : state) {
        qsizetype found = -1;
        for (qsizetype i = 0; i < lines.size() && found < 0; ++i) {
            if (lines[i].contains(key, Qt::CaseInsensitive))
                found = i;
        }
        if (found != lines.size() - 1)
            state.SkipWithError("not found on the last line");
    }
}

// The heap that a list of every line of the archive holds, in its model: the blocks of the heap
// proper and the large ones that the allocator maps apart.
std::size_t heapInUse()
{
    const struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd;
}

void ListMemory(benchmark::State& state)
{
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        {
            ListLineModel model;
            model.setLines(scanArchive(archivePath(), [](const GameRecord&) { return true; }).lines);
            malloc_trim(0);
            state.counters["list_bytes"] = static_cast<double>(heapInUse() - before);
            state.counters["lines"] = static_cast<double>(model.rowCount());
        }
    }
}

} // namespace

BENCHMARK(PlainSequentialRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(OneFilterSearch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(NoFilterSearch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DoubleClickRescan)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TrovaLastLine)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlainFoldedScan)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ListMemory)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    archivePath();
    allTexts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
