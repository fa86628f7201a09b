// The list summary printed to a PDF file from 100,000 list lines, against the same document drawn
// straight with QPainter on a QPdfWriter in the same run: same paper, same font, same page breaks,
// the same bars and one drawText per line at the same baseline. Also reports the memory the
// report holds while it is filled and prepared, against the size of its lines.
#include "output/ReportTemplates.h"
#include "output/SummaryPrint.h"
#include "platform/Clock.h"
#include "platform/Formats.h"
#include "platform/Windows1252.h"
#include "report/PdfOutput.h"
#include "report/Report.h"
#include "search/ListLine.h"
#include "search/ListLines.h"
#include "storage/FieldText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

using namespace brivanto;

namespace {

constexpr int LineTotal = 100000;

QTemporaryDir& workFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/brivanto-bench-XXXXXX"));
    return dir;
}

const QStringList Words = {
    QStringLiteral("Regno"),     QStringLiteral("Draghi"),   QStringLiteral(u"Citt\u00E0"),
    QStringLiteral("Isola"),     QStringLiteral("Mercanti"), QStringLiteral("Castello"),
    QStringLiteral("Pirati"),    QStringLiteral("Foresta"),  QStringLiteral(u"Societ\u00E0"),
    QStringLiteral("Impero"),    QStringLiteral("Viaggio"),  QStringLiteral(u"Perch\u00E9"),
    QStringLiteral("Stelle"),    QStringLiteral("Oceano"),   QStringLiteral("Ferrovie"),
    QStringLiteral("Vulcano"),   QStringLiteral(u"Virt\u00F9"), QStringLiteral("Labirinto"),
    QStringLiteral("Cavalieri"), QStringLiteral("Spezie"),
};
const QStringList Genres = {QStringLiteral("Strategico"), QStringLiteral("Cooperativo"),
                            QStringLiteral("Party game"), QStringLiteral(u"Propriet\u00E0 e scambi"),
                            QStringLiteral("Astratto"),   QStringLiteral("Deduzione")};
const QStringList Publishers = {QStringLiteral("Dal Negro"),        QStringLiteral("Editrice Giochi"),
                                QStringLiteral("Clementoni"),       QStringLiteral("Giochi Uniti"),
                                QStringLiteral("Cranio Creations"), QStringLiteral(u"\u00C9ditions du D\u00E9")};

// A market value as collectors write it, 4 to 12 characters, now and then with the euro sign or
// left empty.
QString marketValue(int n)
{
    switch (n % 10) {
    case 0:
        return n % 50 == 0 ? QString() : QStringLiteral("9,50");
    case 1:
        return QStringLiteral("45,00");
    case 2:
        return QStringLiteral("120,00");
    case 3:
    case 4:
    case 5:
        return QStringLiteral("%1.%2,50").arg(1 + n % 9).arg(n % 1000, 3, 10, QChar(u'0'));
    case 6:
        return QStringLiteral("12.345,00");
    case 7:
        return QStringLiteral(u"\u20AC 1.234,50");
    case 8:
        return QStringLiteral("1.234.567,00");
    default:
        return QStringLiteral("%1,%2").arg(n % 300).arg(n % 100, 2, 10, QChar(u'0'));
    }
}

void setField(GameRecord& record, int index, const QString& text)
{
    textToField(text, fieldAt(record, Fields[static_cast<std::size_t>(index)]),
                Fields[static_cast<std::size_t>(index)].capacity);
}

// The list lines of a whole archive, made from records as a search makes them.
const ListLines& allLines()
{
    static const ListLines lines = [] {
        ListLines made;
        made.reserve(LineTotal);
        for (int n = 0; n < LineTotal; ++n) {
            GameRecord record{};
            const auto pick = [n](const QStringList& from, int salt) {
                return from[static_cast<int>((std::uint32_t(n) * 2654435761u + std::uint32_t(salt) * 40503u) >> 7) %
                            from.size()];
            };
            setField(record, 0, pick(Words, 1) + QStringLiteral(" dei ") + pick(Words, 2) + QStringLiteral(" ") +
                                    QString::number(1 + n % 9));
            setField(record, 1, QStringLiteral("BG-%1").arg(n, 6, 10, QChar(u'0')));
            setField(record, 2, pick(Genres, 3));
            setField(record, 3, pick(Publishers, 4));
            setField(record, 5, QString::number(1950 + n % 75));
            setField(record, 6, marketValue(n));
            made.append(record);
        }
        made.sort();
        return made;
    }();
    return lines;
}

qsizetype listLinesBytes(const ListLines& lines)
{
    qsizetype characters = 0;
    for (qsizetype row = 0; row < lines.size(); ++row)
        characters += lines.bytes(row).size();
    // One byte a character, where each line begins, and the list order once sorted.
    return characters + (lines.size() + 1) * 4 + lines.size() * 4;
}

QString footerText()
{
    const QDateTime now = platform::Clocks::current().now();
    return QStringLiteral("Stampa eseguita in data ") + platform::shortDate(now.date()) + QStringLiteral(" alle ore ") +
           platform::longTime(now.time());
}

// Memory as the process sees it.
std::int64_t heapInUse()
{
    const struct mallinfo2 heap = mallinfo2();
    return std::int64_t(heap.uordblks) + std::int64_t(heap.hblkhd);
}

std::int64_t statusField(const char* name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(name) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

std::int64_t residentBytes()
{
    return statusField("VmRSS");
}

// The resident peak since the last resetPeak().
std::int64_t peakBytes()
{
    return statusField("VmHWM");
}

void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// The memory of one print, measured once, outside the timed runs: on a new template, then again
// on the same template, as a list window prints its summary a second time.
struct PrintMemory
{
    double lineBlock = 0;      // the text object's lines: characters x 2 + their ends
    double fillHeap = 0;       // heap taken by fillSummary
    double prepareHeap = 0;    // heap taken by prepare() on top of it
    double peakFirst = 0;      // resident peak over the resident set before, fill + prepare
    double peakRepeat = 0;     // the same on the template filled and prepared before
    double heldRepeat = 0;     // heap after the repeated fill + prepare over before it
    double peakPdf = 0;        // resident peak while the PDF is written, over before it
};

const PrintMemory& printMemory()
{
    static const PrintMemory memory = [] {
        PrintMemory m;
        const ListLines& lines = allLines();
        const QString title = SummaryTitleArchive;
        const QString pdf = workFolder().filePath(QStringLiteral("Memoria.pdf"));
        {
            report::Report summary = makeSummaryReport();
            malloc_trim(0);
            const std::int64_t heapBefore = heapInUse();
            const std::int64_t residentBefore = residentBytes();
            resetPeak();
            fillSummary(summary, title, lines);
            const std::int64_t heapFilled = heapInUse();
            summary.prepare();
            const std::int64_t heapPrepared = heapInUse();
            m.peakFirst = double(peakBytes() - residentBefore);
            m.fillHeap = double(heapFilled - heapBefore);
            m.prepareHeap = double(heapPrepared - heapFilled);
            const report::TextLines& text = summary.findText(u"txtRiepilogo").lines();
            qsizetype characters = 0;
            for (qsizetype i = 0; i < text.size(); ++i)
                characters += text.at(i).size();
            m.lineBlock = double(characters * 2 + text.size() * qsizetype(sizeof(qsizetype)));

            malloc_trim(0);
            const std::int64_t heapAgain = heapInUse();
            const std::int64_t residentAgain = residentBytes();
            resetPeak();
            fillSummary(summary, title, lines);
            summary.prepare();
            m.peakRepeat = double(peakBytes() - residentAgain);
            m.heldRepeat = double(heapInUse() - heapAgain);

            const std::int64_t residentPdf = residentBytes();
            resetPeak();
            report::writePdf(summary.prepared(), pdf);
            m.peakPdf = double(peakBytes() - residentPdf);
        }
        QFile::remove(pdf);
        malloc_trim(0);
        return m;
    }();
    return memory;
}

void EnginePreparePdf(benchmark::State& state)
{
    const ListLines& lines = allLines();
    const PrintMemory& memory = printMemory();
    const QString path = workFolder().filePath(QStringLiteral("Riepilogo.pdf"));
    // The list window keeps its template and prints it again.
    static report::Report summary = makeSummaryReport();
    std::size_t pages = 0;
    double fillPrepareMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        fillSummary(summary, SummaryTitleArchive, lines);
        const report::PreparedReport& prepared = summary.prepare();
        fillPrepareMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        report::writePdf(prepared, path);
        pages = prepared.pages.size();
    }
    // The part of the time before the first page is drawn.
    state.counters["fill_prepare_ms"] = fillPrepareMs;
    state.counters["pages"] = double(pages);
    state.counters["pdf_bytes"] = double(QFileInfo(path).size());
    state.counters["list_lines_bytes"] = double(listLinesBytes(lines));
    state.counters["line_block_bytes"] = memory.lineBlock;
    state.counters["fill_heap_bytes"] = memory.fillHeap;
    state.counters["prepare_heap_bytes"] = memory.prepareHeap;
    state.counters["rss_peak_first_bytes"] = memory.peakFirst;
    state.counters["rss_peak_repeat_bytes"] = memory.peakRepeat;
    state.counters["heap_held_repeat_bytes"] = memory.heldRepeat;
    state.counters["rss_peak_pdf_bytes"] = memory.peakPdf;
}

// The same document with no report engine: the summary's page layout worked out here once, the
// lines decoded one at a time into one buffer and drawn where the engine draws them.
void DirectQPainterPdf(benchmark::State& state)
{
    const ListLines& lines = allLines();
    const QString path = workFolder().filePath(QStringLiteral("Diretto.pdf"));

    // The summary's geometry, in millimetres from the paper's corner.
    constexpr double Margin = 10;
    constexpr double PrintableHeight = 210 - 2 * Margin;
    constexpr double TitleBand = 8;
    constexpr double FooterBand = 8;
    const double pitch = SummaryLineHeight * 25.4 / 96;
    const double bandBelowText = 10 * 25.4 / 96;
    const QRectF titleBox(Margin + 2, Margin + 1, 273, 5);
    constexpr double TextLeft = Margin + 3;
    const QColor slateGrey(0x70, 0x80, 0x90);

    const auto makeFont = [](const QString& family, double points, bool bold) {
        QFont font(family);
        font.setPointSizeF(points);
        font.setBold(bold);
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setStyleStrategy(QFont::PreferOutline);
        return font;
    };
    const QFont titleFont = makeFont(QStringLiteral("Verdana"), 9, true);
    const QFont footerFont = makeFont(QStringLiteral("Verdana"), 8, true);
    const QFont lineFont = makeFont(QStringLiteral("Courier New"), 8, false);

    std::size_t pageTotal = 0;
    for (auto _ : state) {
        const QString title = SummaryTitleArchive;
        const QString footer = footerText();

        QPdfWriter writer(path);
        writer.setTitle(QStringLiteral("Riepilogo dati"));
        writer.setCreator(QStringLiteral("Brivanto"));
        writer.setPageLayout(QPageLayout(QPageSize(QSizeF(210, 297), QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch),
                                         QPageLayout::Landscape, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        const double dots = writer.logicalDpiX() / 25.4;
        QPainter painter(&writer);

        // A bar filled grey with its text centred in white, its baseline where the engine puts it.
        const auto bar = [&](const QRectF& box, const QFont& font, const QString& text) {
            const QFontMetricsF metrics(font, &writer);
            painter.fillRect(QRectF(box.x() * dots, box.y() * dots, box.width() * dots, box.height() * dots), slateGrey);
            painter.setFont(font);
            painter.setPen(Qt::white);
            const double height = (metrics.ascent() + metrics.descent()) / dots;
            const double left = box.left() + (box.width() - metrics.horizontalAdvance(text) / dots) / 2;
            const double baseline = box.top() + (box.height() - height) / 2 + metrics.ascent() / dots;
            painter.drawText(QPointF(left * dots, baseline * dots), text);
        };

        bar(titleBox, titleFont, title);

        const QFontMetricsF lineMetrics(lineFont, &writer);
        const double baselineBelowTop =
            (pitch - (lineMetrics.ascent() + lineMetrics.descent()) / dots) / 2 + lineMetrics.ascent() / dots;
        QString line;
        line.reserve(qsizetype(LongestListLine));
        double cursor = TitleBand; // from the top of the printable area
        qsizetype done = 0;
        std::size_t pages = 1;
        while (true) {
            const auto fits = static_cast<qsizetype>(std::floor((PrintableHeight - cursor) / pitch + 1e-6));
            const qsizetype here = std::min(fits, lines.size() - done);
            painter.setFont(lineFont);
            painter.setPen(Qt::black);
            const double top = Margin + cursor;
            for (qsizetype i = 0; i < here; ++i) {
                const QByteArrayView bytes = lines.bytes(done + i);
                line.resize(bytes.size());
                platform::decodeWindows1252(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                            std::size_t(bytes.size()), line.data());
                painter.drawText(QPointF(TextLeft * dots, (top + double(i) * pitch + baselineBelowTop) * dots), line);
            }
            done += here;
            if (done == lines.size()) {
                cursor += here * pitch;
                break;
            }
            writer.newPage();
            ++pages;
            cursor = 0;
        }
        cursor = std::min(cursor + bandBelowText, PrintableHeight);
        if (cursor + FooterBand > PrintableHeight + 1e-6) {
            writer.newPage();
            ++pages;
            cursor = 0;
        }
        bar(QRectF(Margin + 3, Margin + cursor + 2, 272, 5), footerFont, footer);
        if (!painter.end())
            state.SkipWithError("PDF not written");
        pageTotal = pages;
    }
    state.counters["pages"] = double(pageTotal);
    state.counters["pdf_bytes"] = double(QFileInfo(path).size());
}

} // namespace

BENCHMARK(EnginePreparePdf)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(DirectQPainterPdf)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    allLines();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
