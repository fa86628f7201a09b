#include "exchange/CsvColumns.h"
#include "exchange/CsvExport.h"
#include "storage/ProgramFolder.h"

#include "platform/Windows1252.h"
#include "tests/exchange/ExchangeFixture.h"
#include "tests/support/CsvRows.h"
#include "tests/support/RawField.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace brivanto;

// The exported file opened by a real spreadsheet program with the options a user picks for it
// (';' between values, '"' around them, UTF-8, from the first row, columns as text): every value
// shows exactly as stored, accents, blanks and line breaks included.
class TestCsvSpreadsheet : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void spreadsheetShowsEveryValue();
};

void TestCsvSpreadsheet::spreadsheetShowsEveryValue()
{
    ExchangeFolder folder;
    setProgramFolderForTesting(folder.dir.path());
    std::vector<GameRecord> records{
        recordOf({"Scacchi",
                  "0042",
                  "Strategico",
                  "Dal Negro",
                  "Scacchiera; pezzi \"Staunton\"",
                  "1990",
                  "12,50",
                  "Italiano",
                  "Anonimo",
                  "Rarit\u00E0 \u20AC",
                  "Italia",
                  "Alta",
                  "30 x 30",
                  "Nessuno",
                  "Perch\u00E9 cos\u00EC? S\u00EC! \u00C0 \u00E8 \u00EC \u00F2 \u00F9 \u00E7 \u00DF \u00F1 "
                  "\u2013 \u201Cvirgolette\u201D",
                  "2",
                  "8+",
                  "60 minuti",
                  "Ottimo",
                  "Scaffale",
                  "Note, con virgole",
                  "S\u00EC",
                  "manuale.pdf",
                  "",
                  "",
                  "Il regolamento",
                  "",
                  ""}),
        recordOf({"<Nome> & co.",
                  "Tom & Jerry",
                  "",
                  "",
                  "",
                  "",
                  "0,00",
                  "",
                  "",
                  "",
                  "",
                  "",
                  "",
                  "",
                  "",
                  "",
                  "",
                  "",
                  "",
                  "",
                  "",
                  "No"}),
    };
    // An empty record between two others: after the last, the spreadsheet's used range would end before it.
    records.insert(records.begin() + 1, recordOf({}));
    testing::putRawField(records[2].description, "  spazi davanti e dietro  ");
    testing::putRawField(records[2].notes, "prima riga\r\nseconda riga");
    folder.writeArchive("Giochi.gdt", records);
    QVERIFY(QDir().mkpath(folder.path("Foto_Gioco")));
    folder.write("Foto_Gioco/Giochi_Foto_A_1.jpg", "jpeg");
    QCOMPARE(exportArchiveCsv(folder.path("Giochi.gdt"), folder.path("Giochi.csv")),
             CsvExportStatus::Written);

    QTemporaryDir home;
    QTemporaryDir out;
    // Every column read as text ("Tipo di colonna: Testo" in the import window), as the guide
    // tells the user: otherwise the spreadsheet program turns an age of "8+" into 8 and an ID code
    // of "0042" into 42.
    QStringList textColumns;
    for (int c = 1; c <= CsvColumnCount; ++c)
        textColumns << QString::number(c) << "2";
    QProcess convert;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    convert.setProcessEnvironment(environment);
    convert.start(QStandardPaths::findExecutable("soffice"),
                  {"--headless", "--norestore", "--infilter=CSV:59,34,76,1," + textColumns.join('/'),
                   "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1", "--outdir", out.path(),
                   folder.path("Giochi.csv")});
    QVERIFY(convert.waitForFinished(180000));
    const QString converted = out.filePath("Giochi.csv");
    QVERIFY2(QFileInfo::exists(converted), convert.readAllStandardError().constData());
    QFile file(converted);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QStringList> rows = csvRows(QString::fromUtf8(file.readAll()), ',');

    QCOMPARE(rows.size(), 1 + int(records.size()));
    QStringList heading;
    for (const QString& name : csvColumnNames())
        heading << name;
    QCOMPARE(rows[0], heading);
    for (std::size_t r = 0; r < records.size(); ++r) {
        QStringList expected;
        for (const FieldInfo& field : Fields) {
            const std::uint8_t* stored = fieldAt(records[r], field);
            expected << platform::fromWindows1252(stored + 1, stored[0]);
        }
        expected << (r == 0 ? "Giochi_Foto_A_1.jpg" : "") << "";
        // A line break inside a cell is one LF to the spreadsheet program: a value holding CRLF
        // shows the same two lines.
        expected.replaceInStrings("\r\n", "\n");
        QCOMPARE(rows[int(r) + 1], expected);
    }
}

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (QStandardPaths::findExecutable("soffice").isEmpty()) {
        qInfo("LibreOffice (soffice) is not installed: skipped. ./test.sh installs libreoffice-calc-nogui");
        return 77;
    }
    TestCsvSpreadsheet test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_csv_spreadsheet.moc"
