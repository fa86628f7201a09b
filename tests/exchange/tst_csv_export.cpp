#include "exchange/CsvExport.h"

#include "storage/ProgramFolder.h"
#include "tests/exchange/ExchangeFixture.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/RawField.h"

#include <QTest>

using namespace brivanto;
using brivanto::testing::putRawField;
using brivanto::testing::runInChild;

namespace {

const QByteArray Heading =
    "\xEF\xBB\xBF"
    "Nome del gioco;Codice ID;Genere (es. strategico, cooperativo ecc.);Casa editrice;Descrizione del gioco;"
    "Anno di uscita;Valore di mercato: \xE2\x82\xAC;Lingua del gioco;Autore;Rarit\xC3\xA0;Paese di origine;"
    "Livello di complessit\xC3\xA0;Dimensioni della scatola;Difetti;Contenuto della scatola;Numero di "
    "giocatori;"
    "Et\xC3\xA0 consigliata;Durata media della partita;Stato conservazione;Luogo conservazione;Note;In "
    "vendita;"
    "Allegato 1;Allegato 2;Allegato 3;Descrizione allegato 1;Descrizione allegato 2;Descrizione allegato 3;"
    "Foto 1;Foto 2\r\n";

// The row of a record whose Titolo holds `title` exactly and whose other fields are empty but
// InVendita ("No").
QByteArray rowOf(const QByteArray& titleInCsv)
{
    return titleInCsv + QByteArray(";").repeated(21) + "No" + QByteArray(";").repeated(8) + "\r\n";
}

} // namespace

// The exported file as other programs read it: exact heading, encoding, separators, quoting and
// line ends, and a failed export that leaves an earlier file whole.
class TestCsvExport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { setProgramFolderForTesting(folder_.dir.path()); }
    void cleanup() { setProgramFolderForTesting({}); }
    void emptyArchiveGivesTheHeadingAlone();
    void valueWrittenAsStored_data();
    void valueWrittenAsStored();
    void photoColumnsNameTheRecordsPhotos();
    void photoNamesAreTheFilesOwn();
    void everyRecordOfALongArchive();
    void failedExportKeepsTheEarlierFile_data();
    void failedExportKeepsTheEarlierFile();

private:
    ExchangeFolder folder_;
};

void TestCsvExport::emptyArchiveGivesTheHeadingAlone()
{
    folder_.write("Vuoto.gdt", {});
    QCOMPARE(exportArchiveCsv(folder_.path("Vuoto.gdt"), folder_.path("Vuoto.csv")),
             CsvExportStatus::Written);
    QCOMPARE(folder_.read("Vuoto.csv"), Heading);
}

void TestCsvExport::valueWrittenAsStored_data()
{
    QTest::addColumn<QByteArray>("stored"); // Windows-1252 bytes, exactly as in the record
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("plain") << QByteArray("Scacchi") << QByteArray("Scacchi");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("accents and euro")
        << QByteArray("Citt\xE0 \x80") << QByteArray("Citt\xC3\xA0 \xE2\x82\xAC");
    QTest::newRow("separator") << QByteArray("a;b") << QByteArray("\"a;b\"");
    QTest::newRow("comma needs nothing") << QByteArray("a, b") << QByteArray("a, b");
    QTest::newRow("quotes doubled") << QByteArray("il \"re\"") << QByteArray("\"il \"\"re\"\"\"");
    QTest::newRow("CRLF inside") << QByteArray("uno\r\ndue") << QByteArray("\"uno\r\ndue\"");
    QTest::newRow("LF inside") << QByteArray("uno\ndue") << QByteArray("\"uno\ndue\"");
    QTest::newRow("leading blank") << QByteArray("  due") << QByteArray("\"  due\"");
    QTest::newRow("trailing blank") << QByteArray("due ") << QByteArray("\"due \"");
    QTest::newRow("inner blank only") << QByteArray("d u e") << QByteArray("d u e");
    QTest::newRow("tab inside") << QByteArray("a\tb") << QByteArray("\"a\tb\"");
    QTest::newRow("NUL inside") << QByteArray("a\0b", 3) << QByteArray("\"a\0b\"", 5);
    QTest::newRow("hole of the code page") << QByteArray("\x81") << QByteArray("\xC2\x81");
    QTest::newRow("leading digits stay") << QByteArray("007") << QByteArray("007");
    // Values are looked at sixteen bytes at a time: a mark just inside or just past such a stretch.
    QTest::newRow("separator 16th") << QByteArray("abcdefghijklmno;") << QByteArray("\"abcdefghijklmno;\"");
    QTest::newRow("separator 17th") << QByteArray("abcdefghijklmnop;") << QByteArray("\"abcdefghijklmnop;\"");
    QTest::newRow("accent 33rd") << QByteArray("abcdefghijklmnopabcdefghijklmnop\xE8")
                                 << QByteArray("abcdefghijklmnopabcdefghijklmnop\xC3\xA8");
    QTest::newRow("control 32nd") << QByteArray("abcdefghijklmnopabcdefghijklmno\x1F")
                                  << QByteArray("\"abcdefghijklmnopabcdefghijklmno\x1F\"");
    QTest::newRow("DEL needs nothing") << QByteArray("a\x7F" "b") << QByteArray("a\x7F" "b");
    // Bytes that stay as they are go in runs, sought sixteen at a time, between those that change.
    QTest::newRow("accents seventeen apart") << QByteArray("\xE0" "abcdefghijklmnop\xE0")
                                             << QByteArray("\xC3\xA0" "abcdefghijklmnop\xC3\xA0");
    QTest::newRow("quote after an accent and seventeen letters")
        << QByteArray("\xE8" "abcdefghijklmnopq\"r") << QByteArray("\"\xC3\xA8" "abcdefghijklmnopq\"\"r\"");
    QTest::newRow("accent at the end") << QByteArray("abcdefghijklmnopqrs\xE8")
                                       << QByteArray("abcdefghijklmnopqrs\xC3\xA8");
}

void TestCsvExport::valueWrittenAsStored()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, written);
    GameRecord record = recordOf({});
    putRawField(record.name, std::string_view(stored.constData(), std::size_t(stored.size())));
    // What another program left past the value is not part of it.
    const char leftover[] = ";\"\xE8\r";
    std::copy(leftover, leftover + 4, record.name.bytes.begin() + std::min<qsizetype>(stored.size(), 116));
    writeForSale(record, false);
    folder_.writeArchive("Prova.gdt", {record});
    QCOMPARE(exportArchiveCsv(folder_.path("Prova.gdt"), folder_.path("Prova.csv")),
             CsvExportStatus::Written);
    QCOMPARE(folder_.read("Prova.csv"), Heading + rowOf(written));
}

void TestCsvExport::photoColumnsNameTheRecordsPhotos()
{
    GameRecord record = recordOf({});
    writeForSale(record, false);
    folder_.writeArchive("Mia;Raccolta.gdt", {record, record, record});
    QVERIFY(QDir().mkpath(folder_.path("Foto_Gioco")));
    folder_.write("Foto_Gioco/Mia;Raccolta_Foto_A_2.jpg", "jpeg");
    folder_.write("Foto_Gioco/Mia;Raccolta_Foto_B_3.jpg", "jpeg");
    folder_.write("Foto_Gioco/Altro_Foto_A_1.jpg", "jpeg");
    folder_.write("Foto_Gioco/Mia;Raccolta_Foto_A_02.jpg", "jpeg");
    QCOMPARE(exportArchiveCsv(folder_.path("Mia;Raccolta.gdt"), folder_.path("out.csv")),
             CsvExportStatus::Written);
    const QByteArray empty = QByteArray(";").repeated(21) + "No" + QByteArray(";").repeated(7);
    QCOMPARE(folder_.read("out.csv"), Heading + empty + ";\r\n" + empty +
                                          "\"Mia;Raccolta_Foto_A_2.jpg\";\r\n" + empty +
                                          ";\"Mia;Raccolta_Foto_B_3.jpg\"\r\n");
}

void TestCsvExport::photoNamesAreTheFilesOwn()
{
    const QString name = QStringLiteral(" Collezione \u5C06\u68CB");
    GameRecord record = recordOf({});
    writeForSale(record, false);
    folder_.writeArchive(name + ".gdt", {record});
    QVERIFY(QDir().mkpath(folder_.path("Foto_Gioco")));
    folder_.write("Foto_Gioco/" + name + "_Foto_B_1.jpg", "jpeg");
    QCOMPARE(exportArchiveCsv(folder_.path(name + ".gdt"), folder_.path("out.csv")), CsvExportStatus::Written);
    const QByteArray empty = QByteArray(";").repeated(21) + "No" + QByteArray(";").repeated(7);
    // A leading blank asks for quotes, as in any value.
    QCOMPARE(folder_.read("out.csv"), Heading + empty + ";\"" + (name + "_Foto_B_1.jpg").toUtf8() + "\"\r\n");
}

// A long archive, read in blocks of records and in two halves at once: every row in order, a full
// last field included.
void TestCsvExport::everyRecordOfALongArchive()
{
    std::vector<GameRecord> records;
    QByteArray expected = Heading;
    for (int i = 0; i < 6001; ++i) {
        const QByteArray n = QByteArray::number(i);
        GameRecord record = recordOf({"Gioco " + n, "ID-" + n, "Strategico"});
        const std::size_t marks = std::size_t(i % 40);
        putRawField(record.notes, std::string(marks, i % 2 ? ';' : '\xE8'));
        const char letter = char('a' + i % 26);
        putRawField(record.attachmentDescription3, std::string(250, letter));
        records.push_back(record);
        const QByteArray notes = i % 2 ? '"' + QByteArray(qsizetype(marks), ';') + '"'
                                       : QByteArray("\xC3\xA8").repeated(qsizetype(marks));
        expected += "Gioco " + n + ";ID-" + n + ";Strategico;" + QByteArray(17, ';') + (marks ? notes : "") +
                    ";" + QByteArray(6, ';') + QByteArray(250, letter) + ";;\r\n";
    }
    folder_.writeArchive("Lungo.gdt", records);
    QCOMPARE(exportArchiveCsv(folder_.path("Lungo.gdt"), folder_.path("Lungo.csv")), CsvExportStatus::Written);
    QCOMPARE(folder_.read("Lungo.csv"), expected);
}

void TestCsvExport::failedExportKeepsTheEarlierFile_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("full disk") << false;
    QTest::newRow("read-only folder") << true;
}

void TestCsvExport::failedExportKeepsTheEarlierFile()
{
    QFETCH(bool, readOnlyFolder);
    // Large enough to be read in two halves: the second half stops when the first cannot write.
    std::vector<GameRecord> records(5000,
                                    recordOf({"Un gioco da tavolo con un nome lungo", "ID-1", "Strategico"}));
    folder_.writeArchive("Grande.gdt", records);
    QVERIFY(QDir().mkpath(folder_.path("out")));
    const QString target = folder_.path("out/Grande.csv");
    folder_.write("out/Grande.csv", "earlier export");
    QFile::setPermissions(folder_.dir.path(), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(folder_.path("Grande.gdt"), QFileDevice::Permissions(0x6666));
    QFile::setPermissions(folder_.path("out"), readOnlyFolder ? QFileDevice::Permissions(0x5555)
                                                              : QFileDevice::Permissions(0x7777));
    const int result = runInChild(
        [&] {
            return exportArchiveCsv(folder_.path("Grande.gdt"), target) == CsvExportStatus::FileNotWritten
                       ? 0
                       : 1;
        },
        readOnlyFolder, readOnlyFolder ? 0 : 20000);
    QFile::setPermissions(folder_.path("out"), QFileDevice::Permissions(0x7777));
    QCOMPARE(result, 0);
    QCOMPARE(folder_.read("out/Grande.csv"), QByteArray("earlier export"));
    QCOMPARE(QDir(folder_.path("out")).entryList(QDir::Files | QDir::Hidden), QStringList{"Grande.csv"});
}

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csv_export.moc"
