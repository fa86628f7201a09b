// The preview window on a report of many pages: browsing, zoom, full screen, print and close.
#include "output/ReportTemplates.h"
#include "output/SummaryPrint.h"
#include "report/ReportPreview.h"
#include "search/ListLines.h"

#include "platform/testing/ScriptedPlatform.h"
#include "tests/support/PdfProbe.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace brivanto;

namespace {
QToolButton* tool(QWidget* window, const char* name)
{
    auto* found = window->findChild<QToolButton*>(QLatin1String(name));
    if (!found)
        qFatal("no tool %s", name);
    return found;
}
} // namespace

class TestReportPreview : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void browsesZoomsAndPrintsManyPages()
    {
        platform::testing::ScriptedPlatform platform;
        report::Report summary = makeSummaryReport();
        ListLines lines;
        for (int n = 1; n <= 200; ++n)
            lines.append(QStringLiteral("Riga %1").arg(n));
        fillSummary(summary, SummaryTitleArchive, lines);
        summary.prepare();

        QWidget owner;
        report::ReportPreview preview(summary, &owner);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QCOMPARE(preview.windowTitle(), QStringLiteral("Riepilogo dati"));
        QCOMPARE(preview.pageCount(), 4);
        auto* label = preview.findChild<QLabel*>(QStringLiteral("lblPagina"));
        QVERIFY(label && label->isVisible());
        QCOMPARE(label->text(), QStringLiteral("Pagina 1 di 4"));

        const QList<std::pair<const char*, int>> steps{
            {"btnPaginaSuccessiva", 1}, {"btnPaginaSuccessiva", 2}, {"btnUltimaPagina", 3},
            {"btnPaginaSuccessiva", 3}, {"btnPaginaPrecedente", 2}, {"btnPrimaPagina", 0},
            {"btnPaginaPrecedente", 0}};
        for (const auto& [button, page] : steps) {
            tool(&preview, button)->click();
            QCOMPARE(preview.currentPage(), page);
            QCOMPARE(label->text(), QStringLiteral("Pagina %1 di 4").arg(page + 1));
        }

        // Landscape A4 at 100 %: 297 mm across at the screen's resolution.
        QWidget* page = preview.findChild<QWidget*>(QStringLiteral("panPagina"));
        QCOMPARE(page->width(), qRound(297 * page->logicalDpiX() / 25.4));
        const int atHundred = page->width();
        tool(&preview, "btnIngrandisci")->click();
        QCOMPARE(preview.zoom(), 1.25);
        QCOMPARE(page->width(), qRound(1.25 * 297 * page->logicalDpiX() / 25.4));
        QVERIFY(page->width() > atHundred);
        tool(&preview, "btnRiduci")->click();
        tool(&preview, "btnRiduci")->click();
        QCOMPARE(preview.zoom(), 0.8);
        auto* zoom = preview.findChild<QComboBox*>(QStringLiteral("cmbZoom"));
        QTest::keyClick(zoom, Qt::Key_End); // the last entry: the whole page
        QVERIFY(preview.zoom() < 1);
        const QSize room = preview.findChild<QScrollArea*>(QStringLiteral("panPagine"))->viewport()->size();
        QVERIFY(page->width() <= room.width() && page->height() <= room.height());

        tool(&preview, "btnSchermoIntero")->click();
        QVERIFY(preview.windowState() & Qt::WindowFullScreen);
        tool(&preview, "btnSchermoIntero")->click();
        QVERIFY(!(preview.windowState() & Qt::WindowFullScreen));

        // Printing from the preview prints every page and leaves the preview open.
        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("anteprima.pdf"));
        platform.printing.printToFileNext(pdf);
        tool(&preview, "btnStampa")->click();
        QVERIFY(preview.isVisible());
        QCOMPARE(platform.printing.requests().value(0).pageCount, 4);
        if (testing::havePdfTools())
            QCOMPARE(testing::pdfPageCount(pdf), 4);
        QVERIFY(!preview.printFailure());

        tool(&preview, "btnChiudi")->click();
        QVERIFY(!preview.isVisible());
    }
};

QTEST_MAIN(TestReportPreview)
#include "tst_report_preview.moc"
