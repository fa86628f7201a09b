// The printed summary: the data band split over pages with the title only on the first and the
// closing bar right after the last line, the fixed columns on paper, the moment of printing, and
// the print dialogue's answers.
#include "output/ReportTemplates.h"
#include "output/SummaryPrint.h"
#include "platform/testing/ScriptedPlatform.h"
#include "report/PdfOutput.h"
#include "report/ReportError.h"
#include "search/ListLines.h"

#include "tests/support/PdfProbe.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

using namespace brivanto;
using namespace brivanto::testing;

namespace {
constexpr double Tolerance = 0.3;             // mm
constexpr double Pitch = 12.822 * 25.4 / 96;  // one list line, mm
constexpr double BandTail = 10 * 25.4 / 96;   // what the data band holds below its lines, mm
constexpr double CourierAdvance = 0.6 * 8 * 25.4 / 72; // one character of Courier New 8 pt, mm
const QRgb SlateGrey = 0x708090;

// A line with blanks inside, whose columns show on paper: "Riga 0007" then a code at column 40.
QString numberedLine(int n)
{
    return QStringLiteral("Riga %1").arg(n, 4, 10, QLatin1Char('0')).leftJustified(40, u' ') +
           QStringLiteral("ID-%1").arg(n) + QStringLiteral("   \u20AC %1,50").arg(n);
}

ListLines numberedLines(int count)
{
    ListLines lines;
    for (int n = 1; n <= count; ++n)
        lines.append(numberedLine(n));
    return lines;
}

// What each prepared page holds: its list lines (first and count), and whether the title and the
// closing bar stand on it.
struct PageContent
{
    qsizetype firstLine = -1;
    qsizetype lines = 0;
    bool title = false;
    bool footer = false;
    double footerTop = 0;
};

QList<PageContent> contents(const report::PreparedReport& prepared)
{
    QList<PageContent> pages;
    for (const report::PreparedPage& page : prepared.pages) {
        PageContent content;
        for (const report::PlacedItem& item : page.items) {
            if (item.kind != report::ObjectKind::Text)
                continue;
            if (item.style->lineHeightUnits > 0) {
                content.firstLine = item.firstLine;
                content.lines += item.lineCount;
            } else if (item.lines.at(0).startsWith(u"Riepilogo")) {
                content.title = true;
            } else if (item.lines.at(0).startsWith(u"Stampa eseguita")) {
                content.footer = true;
                content.footerTop = item.box.top();
            }
        }
        pages.append(content);
    }
    return pages;
}

} // namespace

class TestSummaryPrint : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir folder_;
    // The clock stands at 02/01/2026 03:04:05 unless a test moves it.
    platform::testing::ScriptedPlatform platform_;

    QString writeSummary(int lineCount, const QString& file)
    {
        report::Report summary = makeSummaryReport();
        fillSummary(summary, SummaryTitleArchive, numberedLines(lineCount));
        const QString path = folder_.filePath(file);
        report::writePdf(summary.prepare(), path);
        return path;
    }

private Q_SLOTS:
    // Page 1 holds 53 lines below the title, later pages 56; the closing bar needs 8 mm after
    // the band's tail.
    void dataBandSplitsOverPages_data()
    {
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<QList<int>>("linesPerPage");
        QTest::addColumn<double>("footerTop"); // on the last page, mm from the paper's top

        QTest::newRow("empty list") << 0 << QList<int>{0} << 10 + 8 + BandTail + 2;
        QTest::newRow("one line") << 1 << QList<int>{1} << 10 + 8 + Pitch + BandTail + 2;
        QTest::newRow("a page with its closing bar") << 50 << QList<int>{50} << 10 + 8 + 50 * Pitch + BandTail + 2;
        QTest::newRow("closing bar no longer fits") << 51 << QList<int>{51, 0} << 10.0 + 2;
        QTest::newRow("exactly a page of lines") << 53 << QList<int>{53, 0} << 10.0 + 2;
        QTest::newRow("a page and one line") << 54 << QList<int>{53, 1} << 10 + Pitch + BandTail + 2;
        QTest::newRow("a page and a full page") << 109 << QList<int>{53, 56, 0} << 10.0 + 2;
        QTest::newRow("a thousand lines") << 1000 << (QList<int>{53} + QList<int>(16, 56) + QList<int>{51})
                                           << 10 + 51 * Pitch + BandTail + 2;
    }
    void dataBandSplitsOverPages()
    {
        QFETCH(int, lineCount);
        QFETCH(QList<int>, linesPerPage);
        QFETCH(double, footerTop);
        report::Report summary = makeSummaryReport();
        fillSummary(summary, SummaryTitleArchive, numberedLines(lineCount));
        const QList<PageContent> pages = contents(summary.prepare());

        QList<int> actual;
        qsizetype next = 0;
        for (qsizetype i = 0; i < pages.size(); ++i) {
            actual.append(int(pages[i].lines));
            if (pages[i].lines > 0) {
                QCOMPARE(pages[i].firstLine, next); // no line lost or repeated
                next += pages[i].lines;
            }
            QCOMPARE(pages[i].title, i == 0);
            QCOMPARE(pages[i].footer, i == pages.size() - 1);
        }
        QCOMPARE(actual, linesPerPage);
        QCOMPARE(next, qsizetype(lineCount));
        QVERIFY2(std::abs(pages.last().footerTop - footerTop) < 0.001,
                 qPrintable(QStringLiteral("%1 against %2").arg(pages.last().footerTop).arg(footerTop)));
    }

    void heightsFollowTheLineCount_data()
    {
        QTest::addColumn<int>("lineCount");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("many") << 12345;
    }
    void heightsFollowTheLineCount()
    {
        QFETCH(int, lineCount);
        report::Report summary = makeSummaryReport();
        fillSummary(summary, SummaryTitleForSale, numberedLines(lineCount));
        const report::TextObject& text = summary.findText(u"txtRiepilogo");
        QCOMPARE(text.lineCount(), qsizetype(lineCount));
        QVERIFY(qFuzzyCompare(1 + text.height(), 1 + lineCount * 12.822));
        QVERIFY(qFuzzyCompare(summary.findBand(u"MasterData").height(), text.height() + 10));
    }

    void fillingAgainReplacesTheLinesAndPreparingAgainThePages()
    {
        report::Report summary = makeSummaryReport();
        fillSummary(summary, SummaryTitleArchive, numberedLines(200));
        QCOMPARE(summary.prepare().pages.size(), std::size_t(4));
        fillSummary(summary, SummaryTitleArchive, numberedLines(3));
        QCOMPARE(summary.findText(u"txtRiepilogo").lineCount(), 3);
        const report::PreparedReport& again = summary.prepare();
        QCOMPARE(again.pages.size(), std::size_t(1));
        QCOMPARE(contents(again).value(0).lines, 3);
    }

    void linesTitleAndClosingBarOnPaper()
    {
        if (!havePdfTools())
            QSKIP("poppler-utils is not installed");
        const QString pdf = writeSummary(54, QStringLiteral("two-pages.pdf"));
        QCOMPARE(pdfPageCount(pdf), 2);
        QCOMPARE(pdfInfo(pdf, QStringLiteral("Title")), QStringLiteral("Riepilogo dati"));
        QCOMPARE(pdfInfo(pdf, QStringLiteral("Page size")), QStringLiteral("842 x 595 pts (A4)"));
        const QList<QList<PdfWord>> words = pdfWords(pdf);

        QRectF span;
        const QRectF titleBox(12, 11, 273, 5);
        QCOMPARE(textIn(words[0], titleBox, &span), SummaryTitleArchive);
        QVERIFY(std::abs(span.center().x() - titleBox.center().x()) <= Tolerance);
        QVERIFY(std::abs(span.center().y() - titleBox.center().y()) <= Tolerance);

        // Each line in its place, its columns where its blanks put them.
        for (const auto& [page, line, top] : {std::tuple{0, 1, 18.0}, {0, 53, 18 + 52 * Pitch}, {1, 54, 10.0}}) {
            const QRectF lineBox(13, top, 273, Pitch);
            QCOMPARE(textIn(words[page], lineBox, &span).simplified(), numberedLine(line).simplified());
            QVERIFY2(std::abs(span.left() - 13) <= Tolerance, qPrintable(QString::number(span.left())));
            QVERIFY2(std::abs(span.center().y() - lineBox.center().y()) <= Tolerance,
                     qPrintable(QString::number(span.center().y())));
            QRectF code;
            textIn(words[page], QRectF(13 + 39.5 * CourierAdvance, top, 20, Pitch), &code);
            QVERIFY2(std::abs(code.left() - (13 + 40 * CourierAdvance)) <= Tolerance, qPrintable(QString::number(code.left())));
        }
        // The title is not repeated; the closing bar follows the last line.
        QVERIFY(textIn(words[1], QRectF(0, 0, 297, 9)).isEmpty());
        const QRectF footerBox(13, 10 + Pitch + BandTail + 2, 272, 5);
        QCOMPARE(textIn(words[1], footerBox, &span), QStringLiteral("Stampa eseguita in data 02/01/2026 alle ore 03:04:05"));
        QVERIFY(std::abs(span.center().x() - footerBox.center().x()) <= Tolerance);
        QVERIFY(std::abs(span.center().y() - footerBox.center().y()) <= Tolerance);
        // Nothing in the bottom margin.
        QVERIFY(textIn(words[0], QRectF(0, 200.2, 297, 9.8)).isEmpty());
    }

    void barsAreSlateGrey()
    {
        if (!havePdfTools())
            QSKIP("poppler-utils is not installed");
        const QString pdf = writeSummary(54, QStringLiteral("bars.pdf"));
        const QImage first = rasterisedPage(pdf, 1);
        const QImage second = rasterisedPage(pdf, 2);
        for (const QPointF& inTitle : {QPointF(12.5, 13.5), QPointF(284.5, 11.5), QPointF(40, 15.5)})
            QVERIFY(colourNear(colourAtMm(first, inTitle), SlateGrey));
        const double footerTop = 10 + Pitch + BandTail + 2;
        for (const QPointF& inFooter : {QPointF(13.5, footerTop + 2.5), QPointF(284.5, footerTop + 0.5)})
            QVERIFY(colourNear(colourAtMm(second, inFooter), SlateGrey));
        QVERIFY(colourNear(colourAtMm(second, {150, 5}), 0xFFFFFF));
        QVERIFY(colourNear(colourAtMm(second, {150, footerTop + 5.5}), 0xFFFFFF));
        QVERIFY(colourNear(colourAtMm(first, {150, 200}), 0xFFFFFF));
    }

    void longestListLineFitsTheBand()
    {
        if (!havePdfTools())
            QSKIP("poppler-utils is not installed");
        const QString longest = QStringLiteral("W").repeated(157);
        ListLines lines;
        lines.append(longest);
        report::Report summary = makeSummaryReport();
        fillSummary(summary, SummaryTitleArchive, lines);
        const QString pdf = folder_.filePath(QStringLiteral("longest.pdf"));
        report::writePdf(summary.prepare(), pdf);
        QRectF span;
        QCOMPARE(textIn(pdfWords(pdf).value(0), QRectF(10, 18, 287, Pitch), &span), longest);
        QVERIFY2(span.right() <= 13 + 273, qPrintable(QString::number(span.right())));
    }

    void momentOfPrintingComesFromTheClockAtEachPrint()
    {
        platform::testing::ScriptedPlatform platform;
        report::Report summary = makeSummaryReport();
        const ListLines lines = numberedLines(2);
        const qsizetype asked = platform.printing.requests().size();
        const QString first = folder_.filePath(QStringLiteral("first.pdf"));
        const QString second = folder_.filePath(QStringLiteral("second.pdf"));

        platform.clock.set(QDateTime(QDate(2026, 3, 4), QTime(9, 5, 7)));
        platform.printing.printToFileNext(first);
        QVERIFY(printSummary(summary, SummaryTitleForSale, lines, nullptr));
        QCOMPARE(summary.findText(u"txtPagina").text(), QStringLiteral("Stampa eseguita in data 04/03/2026 alle ore 09:05:07"));
        QCOMPARE(summary.findText(u"txtTitolo").text(), SummaryTitleForSale);

        platform.clock.set(QDateTime(QDate(2026, 3, 4), QTime(9, 6, 7)));
        platform.printing.printToFileNext(second);
        QVERIFY(printSummary(summary, SummaryTitleForSale, lines, nullptr));
        QCOMPARE(summary.findText(u"txtPagina").text(), QStringLiteral("Stampa eseguita in data 04/03/2026 alle ore 09:06:07"));

        QCOMPARE(platform.printing.requests().size(), asked + 2);
        QCOMPARE(platform.printing.requests().last().documentName, QStringLiteral("Riepilogo dati"));
        QCOMPARE(platform.printing.requests().last().pageCount, 1);
        if (havePdfTools()) {
            QVERIFY(textIn(pdfWords(first).value(0), QRectF(0, 0, 297, 210)).contains(QStringLiteral("alle ore 09:05:07")));
            QVERIFY(textIn(pdfWords(second).value(0), QRectF(0, 0, 297, 210)).contains(QStringLiteral("alle ore 09:06:07")));
        }
    }

    // A long list is filled and laid out under the wait cursor, which is gone when the print
    // dialogue opens.
    void waitCursorWhilePreparingOnly()
    {
        struct CursorWatchingClock final : platform::Clock
        {
            QDateTime now() const override
            {
                waited = QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
                return QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
            }
            mutable bool waited = false;
        } clock;
        platform::testing::ScriptedPlatform platform;
        platform::ScopedSeam<platform::Clock> watching(clock);
        report::Report summary = makeSummaryReport();
        platform.printing.cancelNext();
        QVERIFY(!printSummary(summary, SummaryTitleArchive, numberedLines(3000), nullptr));
        QVERIFY(clock.waited);
        QVERIFY(!platform.printing.requests().last().underWaitCursor);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void cancellingTheDialoguePrintsNothing()
    {
        platform::testing::ScriptedPlatform platform;
        report::Report summary = makeSummaryReport();
        const QString pdf = folder_.filePath(QStringLiteral("never.pdf"));
        platform.printing.cancelNext();
        platform.printing.printToFileNext(pdf); // what would print, if the dialogue were asked again
        QVERIFY(!printSummary(summary, SummaryTitleArchive, numberedLines(5), nullptr));
        QVERIFY(!platform.printing.requests().last().accepted);
        QVERIFY(!QFile::exists(pdf));
    }

    void aPrinterThatCannotPrintIsAnError()
    {
        platform::testing::ScriptedPlatform platform;
        report::Report summary = makeSummaryReport();
        platform.printing.printToFileNext(folder_.filePath(QStringLiteral("no-such-folder/summary.pdf")));
        QVERIFY_THROWS_EXCEPTION(report::ReportError, printSummary(summary, SummaryTitleArchive, numberedLines(5), nullptr));
    }
};

QTEST_MAIN(TestSummaryPrint)
#include "tst_summary_print.moc"
