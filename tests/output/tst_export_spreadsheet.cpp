#include "output/ExportGrid.h"
#include "output/ExportScreen.h"

#include "tests/editor/EditorFixture.h"
#include "tests/output/ExportFixture.h"
#include "tests/support/CsvRows.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTableView>

using namespace brivanto;
using platform::Answer;

namespace {

// A text of digits only, which the spreadsheet program reads as a number.
bool isNumberText(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    return digits.match(text).hasMatch();
}

} // namespace

// The exported worksheet opened by a real spreadsheet program: every cell as the grid shows it.
class TestExportSpreadsheet : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void spreadsheetShowsEveryValueAsTyped();
};

void TestExportSpreadsheet::spreadsheetShowsEveryValueAsTyped()
{
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty())
        QFAIL("LibreOffice (soffice) is not installed: ./test.sh installs libreoffice-calc-nogui");

    const QString description = QString::fromUtf8("Descrizione lunga àèìòù € ") + QString(224, 'd');
    QCOMPARE(description.size(), 250);
    EditorFixture f(0);
    f.folder.writeFile(
        f.archiveName + ".gdt",
        archiveOf({exportRecord({"Scacchi",
                                 "SC-1",
                                 "Strategico",
                                 "Dal Negro",
                                 description,
                                 "1990",
                                 "12,50",
                                 "Italiano",
                                 "Anonimo",
                                 QString::fromUtf8("Rarità €"),
                                 "Italia",
                                 "Alta",
                                 "30 x 30",
                                 "Nessuno",
                                 "Scacchiera, pezzi",
                                 "2",
                                 "8+",
                                 "60 minuti",
                                 "Ottimo",
                                 "Scaffale",
                                 "Note",
                                 QString::fromUtf8("Sì")}),
                   exportRecord({"<Nome>",     "Tom & Jerry",
                                 "</td>",      "a < b & c > d",
                                 "\"Citato\"", "0042",
                                 "0,00",       "",
                                 "",           "",
                                 "",           "",
                                 "",           "",
                                 "",           "",
                                 "",           "",
                                 "",           "",
                                 "",           "No"}),
                   exportRecord({}),
                   exportRecord({QString::fromUtf8("Città d'oro"), "CO-7", "Gestionale", "Editrice",
                                 QString::fromUtf8("Perché così? Sì!"), "2001", "1.000,00", "Tedesco"})}));
    ExportScreen screen(f.editor);
    screen.show();
    const QAbstractItemModel& grid = *child<QTableView>(&screen, "grdRecords")->model();
    QCOMPARE(grid.rowCount(), 4);
    // A value typed into the grid reaches the worksheet too, a character outside the code page as "?".
    QVERIFY(const_cast<QAbstractItemModel&>(grid).setData(grid.index(2, 2), QString::fromUtf8("Nuovo ★")));

    f.folder.platform.messages.answerNext(Answer::Yes);
    f.folder.platform.messages.answerNext(Answer::No);
    click(child(&screen, "cmdEsporta"));
    const QString exported = f.folder.path("Zendaro.xls");
    QVERIFY(QFileInfo::exists(exported));

    QTemporaryDir home;
    QTemporaryDir out;
    QProcess convert;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    convert.setProcessEnvironment(environment);
    convert.start(soffice, {"--headless", "--norestore", "--infilter=HTML (StarCalc)", "--convert-to",
                            "csv:Text - txt - csv (StarCalc):44,34,76,1", "--outdir", out.path(), exported});
    QVERIFY(convert.waitForFinished(180000));
    const QString csvPath = out.filePath("Zendaro.csv");
    QVERIFY2(QFileInfo::exists(csvPath), convert.readAllStandardError().constData());
    const QList<QStringList> rows = csvRows(QString::fromUtf8(fileBytes(csvPath)), QLatin1Char(','));

    QCOMPARE(rows.size(), 1 + grid.rowCount());
    for (int c = 1; c < 23; ++c)
        QCOMPARE(rows[0].value(c - 1), grid.headerData(c, Qt::Horizontal).toString());
    QVERIFY(!rows[0].contains("N."));
    for (int r = 0; r < grid.rowCount(); ++r) {
        QCOMPARE(rows[r + 1].size(), 22);
        for (int c = 1; c < 23; ++c) {
            QString expected = grid.index(r, c).data().toString().trimmed();
            expected.replace(QChar(0x2605), '?');
            const QString seen = rows[r + 1][c - 1];
            if (isNumberText(expected))
                QCOMPARE(seen.toLongLong(), expected.toLongLong());
            else
                QCOMPARE(seen, expected);
        }
    }
}

QTEST_MAIN(TestExportSpreadsheet)
#include "tst_export_spreadsheet.moc"
