// Printing through the system's real print path: the default printer of a running print system
// (a PDF queue in the test run), with the print dialogue accepted as it comes. The queue's PDF
// files land in $BRIVANTO_PRINT_OUTPUT; without a print system the tests skip themselves.
#include "output/CardPrintDialog.h"
#include "output/ReportTemplates.h"
#include "output/SummaryPrint.h"
#include "search/ListLines.h"

#include "tests/editor/EditorFixture.h"
#include "tests/support/PdfProbe.h"

#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QPrinterInfo>
#include <QtTest>

using namespace brivanto;
using namespace brivanto::testing;

namespace {

QString printOutput()
{
    return qEnvironmentVariable("BRIVANTO_PRINT_OUTPUT");
}

QStringList jobFiles(const QString& prefix)
{
    return QDir(printOutput()).entryList({prefix + QStringLiteral("-job_*.pdf")}, QDir::Files);
}

// The PDF of the job that arrives after `before` was listed, once the queue has written it
// whole, and whose first page holds `marker`: other tests of the run print to the same queue under
// the same job names. Empty after a minute.
QString arrivedJob(const QString& prefix, const QStringList& before, const QString& marker)
{
    QElapsedTimer waited;
    waited.start();
    QHash<QString, qint64> lastSize; // a file is whole once it ends the PDF and stops growing
    while (waited.elapsed() < 60000) {
        for (const QString& name : jobFiles(prefix)) {
            if (before.contains(name))
                continue;
            QFile file(QDir(printOutput()).filePath(name));
            if (file.open(QIODevice::ReadOnly)) {
                const QByteArray bytes = file.readAll();
                if (bytes.trimmed().endsWith("%%EOF") && bytes.size() == lastSize.value(name, -1) &&
                    pdfText(file.fileName(), 1).contains(marker))
                    return file.fileName();
                lastSize[name] = bytes.size();
            }
        }
        QTest::qWait(200);
    }
    return {};
}

} // namespace

class TestRealPrinter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        if (printOutput().isEmpty())
            QSKIP("no print system in this run (BRIVANTO_PRINT_OUTPUT is not set)");
        if (!havePdfTools())
            QSKIP("poppler-utils is not installed");
    }

    void cardGoesToTheDefaultPrinter()
    {
        EditorFixture f(1);
        f.folder.writeFile(QStringLiteral("Foto_Gioco/Giochi rari_Foto_A_1.jpg"), jpegOf(QSize(800, 600), 5));
        f.press("cmdPrimo");
        f.edit("txtNote")->setText(QStringLiteral("Stampata davvero"));
        const QStringList before = jobFiles(QStringLiteral("Scheda_Gioco_da_Tavolo"));

        f.folder.platform.printing.acceptNext();
        CardPrintDialog screen(f.editor);
        screen.show();
        click(child(&screen, "btnStampa"));
        QCOMPARE(f.messages(), QStringList());
        QCOMPARE(f.folder.platform.printing.requests().size(), 1);
        QCOMPARE(f.folder.platform.printing.requests()[0].preselectedPrinter,
                 QPrinterInfo::defaultPrinterName());
        QVERIFY(!QPrinterInfo::defaultPrinterName().isEmpty());

        const QString pdf =
            arrivedJob(QStringLiteral("Scheda_Gioco_da_Tavolo"), before, QStringLiteral("Stampata davvero"));
        QVERIFY2(!pdf.isEmpty(), "no card came out of the print queue");
        QCOMPARE(pdfPageCount(pdf), 1);
        QVERIFY(pdfInfo(pdf, QStringLiteral("Page size")).contains(QStringLiteral("(A4)")));
        const QString text = pdfText(pdf, 1);
        for (const QString& expected :
             {QStringLiteral("Giochi rari"), QStringLiteral("Gioco 1"), QStringLiteral("ID-1"),
              QStringLiteral("DESCRIZIONE DEL GIOCO"), QStringLiteral("Stampata davvero")})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" not in ") + text));
    }

    void summaryOfTwoPagesGoesToTheDefaultPrinter()
    {
        platform::testing::ScriptedPlatform platform;
        ListLines lines;
        for (int n = 1; n <= 60; ++n)
            lines.append(QStringLiteral("Riga %1").arg(n, 3, 10, QLatin1Char('0')).leftJustified(40) +
                         QStringLiteral("ID-%1").arg(n));
        const QStringList before = jobFiles(QStringLiteral("Riepilogo_dati"));
        report::Report summary = makeSummaryReport();
        platform.printing.acceptNext();
        QVERIFY(printSummary(summary, SummaryTitleForSale, lines, nullptr));

        const QString pdf = arrivedJob(QStringLiteral("Riepilogo_dati"), before, QStringLiteral("Riga 001"));
        QVERIFY2(!pdf.isEmpty(), "no summary came out of the print queue");
        QCOMPARE(pdfPageCount(pdf), 2);
        // The print system may turn the landscape pages to lie on portrait paper.
        const QString first = pdfText(pdf, 1);
        const QString second = pdfText(pdf, 2);
        QVERIFY2(first.startsWith(SummaryTitleForSale + QStringLiteral(" Riga 001 ID-1 Riga 002")),
                 qPrintable(first));
        QVERIFY(first.contains(QStringLiteral("Riga 053 ID-53")));
        QVERIFY(!first.contains(QStringLiteral("Riga 054")));
        QVERIFY(!first.contains(QStringLiteral("Stampa eseguita")));
        QVERIFY2(second.startsWith(QStringLiteral("Riga 054 ID-54")), qPrintable(second));
        QVERIFY(!second.contains(SummaryTitleForSale));
        QVERIFY2(second.endsWith(
                     QStringLiteral("Riga 060 ID-60 Stampa eseguita in data 02/01/2026 alle ore 03:04:05")),
                 qPrintable(second));
    }
};

QTEST_MAIN(TestRealPrinter)
#include "tst_real_printer.moc"
