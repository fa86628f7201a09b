// The report engine's operations on a small template of its own: texts and lines, heights,
// pictures held as copies, preparing again, and the errors its callers rely on.
#include "report/PdfOutput.h"
#include "report/Report.h"
#include "report/ReportError.h"
#include "report/ReportOutput.h"

#include "platform/testing/ScriptedPlatform.h"
#include "tests/support/PdfProbe.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace brivanto;
using namespace brivanto::report;

namespace {

// One page: a single-line text, a multi-line text with lines 5 mm apart, and a picture.
Report smallReport()
{
    Report report(QStringLiteral("Prova"), ReportPage(QSizeF(210, 297), QPageLayout::Portrait, 10));
    Band& page = report.addBand(QStringLiteral("Pagina"), BandKind::Page, 277);
    page.addText(QStringLiteral("txtRiga"), {0, 0, 100, 6}, TextStyle{.family = QStringLiteral("Arial"), .points = 10},
                 u"DESIGN");
    page.addText(QStringLiteral("txtRighe"), {0, 10, 190, 50},
                 TextStyle{.family = QStringLiteral("Courier New"), .points = 10, .lineHeightUnits = 5 * UnitsPerMm});
    page.addPicture(QStringLiteral("imgFoto"), {0, 70, 50, 50});
    return report;
}

const PlacedItem* itemNamedBy(const PreparedReport& prepared, ObjectKind kind, int index = 0)
{
    for (const PlacedItem& item : prepared.pages.at(0).items)
        if (item.kind == kind && index-- == 0)
            return &item;
    return nullptr;
}

} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void settingTheWholeTextOfAMultiLineObject_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("one line") << "uno" << QStringList{"uno"};
        QTest::newRow("CR LF") << "uno\r\ndue" << QStringList{"uno", "due"};
        QTest::newRow("LF and CR alone") << "uno\ndue\rtre" << QStringList{"uno", "due", "tre"};
        QTest::newRow("a break at the end starts no line") << "uno\r\n" << QStringList{"uno"};
        QTest::newRow("an empty line between") << "uno\r\n\r\ndue" << QStringList{"uno", "", "due"};
        QTest::newRow("only a break") << "\r\n" << QStringList{""};
        QTest::newRow("blanks kept") << "  a  b  " << QStringList{"  a  b  "};
    }
    void settingTheWholeTextOfAMultiLineObject()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        Report report = smallReport();
        TextObject& object = report.findText(u"txtRighe");
        object.appendLine(u"gi\u00E0 presente");
        object.setText(text);
        QStringList actual;
        for (qsizetype i = 0; i < object.lineCount(); ++i)
            actual.append(object.lines().at(i).toString());
        QCOMPARE(actual, lines);
    }

    void linesAreRemovedAppendedAndCounted()
    {
        Report report = smallReport();
        TextObject& object = report.findText(u"txtRighe");
        QCOMPARE(object.lineCount(), 0);
        object.appendLine(u"prima");
        object.appendLine(u"");
        object.appendLine(u"[terza] & <\u20AC>");
        QCOMPARE(object.lineCount(), 3);
        QCOMPARE(object.text(), QStringLiteral("prima\r\n\r\n[terza] & <\u20AC>"));
        object.clearLines();
        QCOMPARE(object.lineCount(), 0);
    }

    // A single-line text keeps what it is given on its one line; its design text is replaced.
    void singleLineTextStaysOnOneLine()
    {
        Report report = smallReport();
        TextObject& object = report.findText(u"txtRiga");
        QCOMPARE(object.text(), QStringLiteral("DESIGN"));
        object.setText(u"uno\r\ndue\ttre");
        QCOMPARE(object.lineCount(), 1);
        if (!testing::havePdfTools())
            return;
        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("riga.pdf"));
        writePdf(report.prepare(), pdf);
        QCOMPARE(testing::pdfText(pdf, 1), QStringLiteral("uno due tre"));
    }

    void heightsInNinetySixthsOfAnInch_data()
    {
        QTest::addColumn<double>("height");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("three summary lines") << 3 * 12.822 << true;
        QTest::newRow("none") << 0.0 << true;
        QTest::newRow("a million lines") << 1e6 * 12.822 << true;
        QTest::newRow("negative") << -1.0 << false;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << false;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << false;
    }
    void heightsInNinetySixthsOfAnInch()
    {
        QFETCH(double, height);
        QFETCH(bool, accepted);
        Report report = smallReport();
        TextObject& text = report.findText(u"txtRighe");
        Band& band = report.findBand(u"Pagina");
        const double before = text.height();
        try {
            text.setHeight(height);
            band.setHeight(height);
            QVERIFY(accepted);
            QVERIFY(std::abs(text.height() - height) < 1e-6 * std::max(1.0, height));
            QVERIFY(std::abs(text.geometry().height() - height * 25.4 / 96) < 1e-6 * std::max(1.0, height));
            QVERIFY(std::abs(band.height() - height) < 1e-6 * std::max(1.0, height));
        } catch (const ReportError&) {
            QVERIFY(!accepted);
            QCOMPARE(text.height(), before);
        }
    }

    // A multi-line object shows the lines its height holds.
    void heightDecidesTheLinesShown()
    {
        Report report = smallReport();
        TextObject& object = report.findText(u"txtRighe");
        for (int i = 0; i < 20; ++i)
            object.appendLine(QString::number(i));
        QCOMPARE(itemNamedBy(report.prepare(), ObjectKind::Text, 1)->lineCount, 10); // 50 mm of 5 mm lines
        object.setHeight(3 * 5 * UnitsPerMm);
        QCOMPARE(itemNamedBy(report.prepare(), ObjectKind::Text, 1)->lineCount, 3);
    }

    void thePictureIsACopy()
    {
        Report report = smallReport();
        QImage picture(40, 20, QImage::Format_RGB32);
        picture.fill(Qt::red);
        report.findPicture(u"imgFoto").setPicture(picture);
        picture.fill(Qt::blue);
        const PlacedItem* placed = itemNamedBy(report.prepare(), ObjectKind::Picture);
        QVERIFY(placed);
        QCOMPARE(placed->picture.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(placed->pictureBox, QRectF(10, 80 + 12.5, 50, 25));
    }

    // Preparing again replaces the pages; an earlier result is not kept alongside.
    void preparingAgainStartsAfresh()
    {
        Report report = smallReport();
        report.findText(u"txtRiga").setText(u"prima");
        const std::size_t items = report.prepare().pages.at(0).items.size();
        report.findText(u"txtRiga").setText(u"seconda");
        const PreparedReport& again = report.prepare();
        QCOMPARE(again.pages.size(), std::size_t(1));
        QCOMPARE(again.pages[0].items.size(), items);
        QCOMPARE(itemNamedBy(again, ObjectKind::Text)->lines.at(0).toString(), QStringLiteral("seconda"));
    }

    void operationsThatFail_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("a second page") << 0;
        QTest::newRow("print before preparing") << 1;
        QTest::newRow("a PDF file in a missing folder") << 2;
        QTest::newRow("a band asked as a text") << 3;
    }
    void operationsThatFail()
    {
        QFETCH(int, operation);
        platform::testing::ScriptedPlatform platform;
        platform.printing.acceptNext();
        Report report = smallReport();
        QTemporaryDir folder;
        try {
            switch (operation) {
            case 0:
                report.page(1);
                break;
            case 1:
                print(report, nullptr);
                break;
            case 2:
                writePdf(report.prepare(), folder.filePath(QStringLiteral("manca/prova.pdf")));
                break;
            case 3:
                report.findText(u"Pagina");
                break;
            }
            QFAIL("no error reported");
        } catch (const ReportError& failure) {
            QVERIFY(failure.description().startsWith(QStringLiteral("Errore di stampa: ")));
        }
        QCOMPARE(report.page(0).orientation(), QPageLayout::Portrait);
    }
};

QTEST_MAIN(TestReportEngine)
#include "tst_report_engine.moc"
