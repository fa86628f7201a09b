#include "exchange/CsvColumns.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "storage/ArchiveFile.h"
#include "storage/ProgramFolder.h"

#include "tests/exchange/ExchangeFixture.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/RawField.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

using namespace brivanto;
using brivanto::testing::runInChild;

namespace {

QByteArray ownHeading(bool byteOrderMark = true)
{
    QStringList names;
    for (const QString& name : csvColumnNames())
        names << name;
    return (byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + names.join(';').toUtf8() + "\r\n";
}

// A row of the program's own file: the title, the ID code, then empty values.
QByteArray ownRow(const QByteArray& title, const QByteArray& id, const char* lineEnd = "\r\n")
{
    return title + ';' + id + QByteArray(";").repeated(CsvColumnCount - 2) + lineEnd;
}

bool sameBytes(const GameRecord& a, const GameRecord& b)
{
    return std::memcmp(&a, &b, RecordSize) == 0;
}

// A value of random bytes, the ones that CSV must take care of made frequent.
std::string randomValue(QRandomGenerator& random, std::size_t capacity)
{
    static const char tricky[] = {';', '"', '\r', '\n', ' ', ' ', ',', '\t', '\0'};
    const std::size_t length = random.bounded(int(capacity) + 1);
    std::string value;
    for (std::size_t i = 0; i < length; ++i) {
        value +=
            random.bounded(3) == 0 ? tricky[random.bounded(int(sizeof tricky))] : char(random.bounded(256));
    }
    return value;
}

// The BoardGameGeek columns come in the site's own order, with columns the import does not read
// between them, so that nothing can be found by position.
const QByteArray BoardGameGeekFile =
    "objectname,objectid,rating,numplays,own,fortrade,want,comment,conditiontext,originalname,minplayers,"
    "maxplayers,playingtime,minplaytime,maxplaytime,yearpublished,bggrecagerange,avgweight,privatecomment,"
    "currvalue,cv_currency,invlocation,version_publishers,version_languages,pricepaid\r\n"
    // Quoted commas in the name, the comment and the publishers.
    "\"Catan: Il Gioco, edizione 2015\",13,7.5,4,1,0,0,\"Scatola ammaccata, manca un dado\",Buono,CATAN,3,4,"
    "120,60,120,1995,10+,2.3162,comprato a Lucca,35.5,EUR,Scaffale A,\"Giochi Uniti, Kosmos\",Italian,30\r\n"
    // Line breaks inside a comment, accents, no weight, play time from its range, for trade.
    "Citt\xC3\xA0"
    " del Gioco,101,,0,1,1,0,\"Prima riga\r\nseconda riga\",Ottimo,,2,2,0,45,90,2010,8+,0,,,,"
    "Salotto,Editrice \xC3\x91"
    "and\xC3\xBA,\"Italiano, Inglese\",\r\n"
    // A name the code page cannot hold, a value in another currency.
    "\xE5\xB0\x86\xE6\xA3\x8B,2052,8,0,1,0,0,,,,2,2,30,,,-200,,3.95,,20.00,USD,,,,\r\n"
    // A second copy of the same game, this one for trade.
    "\"Catan: Il Gioco, edizione 2015\",13,,0,1,1,0,,,,,,,,,,,,,,,,,,\r\n"
    // Games not owned: on the wish list, sold.
    "Terraforming Mars,167791,,0,0,0,1,,,,,,,,,,,,,,,,,,\r\n"
    "Risiko,1403,,0,0,0,0,,,,,,,,,,,,,,,,,,\r\n"
    // No name but the original one; a publisher longer than its field; the row stops early.
    ",39856,,0,1,0,0,,,Brass,,,,,,,,,,\"\",,,\"Una casa editrice dal nome davvero molto lungo, fin "
    "troppo\"\r\n";

} // namespace

// Importing CSV files: this program's own file back byte for byte, a BoardGameGeek collection
// field by field, every bad file refused with its reason and nothing written, and an archive
// that cannot take the records left as it was.
class TestCsvImport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { setProgramFolderForTesting(folder_.dir.path()); }
    void cleanup() { setProgramFolderForTesting({}); }
    void exportThenImportGivesBackEveryRecord();
    void boardGameGeekCollectionFieldByField();
    void importingTheSameFileAgainAddsNothing_data();
    void importingTheSameFileAgainAddsNothing();
    void numberTooLongGoesToTheNotes_data();
    void numberTooLongGoesToTheNotes();
    void fileRead_data();
    void fileRead();
    void failedImportLeavesTheArchiveAsItWas_data();
    void failedImportLeavesTheArchiveAsItWas();

private:
    ExchangeFolder folder_;
};

void TestCsvImport::exportThenImportGivesBackEveryRecord()
{
    QRandomGenerator random(23);
    std::vector<GameRecord> records(300);
    for (GameRecord& record : records) {
        for (const FieldInfo& field : Fields) {
            const std::string value = randomValue(random, field.capacity);
            std::uint8_t* stored = fieldAt(record, field);
            stored[0] = static_cast<std::uint8_t>(value.size());
            std::copy(value.begin(), value.end(), stored + 1);
        }
    }
    // Every byte of the code page, in order, at both ends of values and alone.
    std::string every;
    for (int b = 0; b < 256; ++b)
        every += char(b);
    GameRecord all = recordOf({});
    brivanto::testing::putRawField(all.description, every.substr(0, 250));
    brivanto::testing::putRawField(all.boxContents, every.substr(250) + every.substr(0, 10));
    brivanto::testing::putRawField(all.notes, std::string(every.rbegin(), every.rend()).substr(0, 250));
    records.push_back(all);
    for (int b = 0; b < 256; ++b) {
        GameRecord one = recordOf({});
        brivanto::testing::putRawField(one.name, std::string(1, char(b)));
        brivanto::testing::putRawField(one.year, std::string(" ") + char(b) + " ");
        records.push_back(one);
    }
    folder_.writeArchive("Origine.gdt", records);

    QCOMPARE(exportArchiveCsv(folder_.path("Origine.gdt"), folder_.path("Origine.csv")),
             CsvExportStatus::Written);
    const ImportPlan plan = planCsvImportFile(folder_.path("Origine.csv"), folder_.path("Nuovo.gdt"));
    QVERIFY2(plan.ok(), qPrintable(plan.error));
    QCOMPARE(plan.kind, CsvKind::Brivanto);
    QCOMPARE(plan.toImport, int(records.size()));
    QCOMPARE(plan.cutValues, 0);
    QCOMPARE(plan.unmappableCharacters, 0);
    QVERIFY(!plan.readAsWindows1252);
    const ImportOutcome outcome = importCsvFile(folder_.path("Origine.csv"), folder_.path("Nuovo.gdt"));
    QCOMPARE(outcome.failure, ImportOutcome::Failure::None);
    QCOMPARE(outcome.imported, int(records.size()));
    QCOMPARE(outcome.firstPosition, 1);

    // The writer of these records zeroed the bytes after each value, and so does the import: the
    // records come back whole, byte for byte.
    const std::vector<GameRecord> back = folder_.readArchive("Nuovo.gdt");
    QCOMPARE(back.size(), records.size());
    for (std::size_t r = 0; r < records.size(); ++r) {
        if (!sameBytes(back[r], records[r]))
            QCOMPARE(recordTexts(back[r]), recordTexts(records[r]));
        QVERIFY2(sameBytes(back[r], records[r]), qPrintable(QString::number(r)));
    }
}

void TestCsvImport::boardGameGeekCollectionFieldByField()
{
    folder_.write("collection.csv", BoardGameGeekFile);
    folder_.writeArchive("Giochi.gdt", {recordOf({"Gi\u00E0 qui", "7"})});
    const ImportPlan plan = planCsvImportFile(folder_.path("collection.csv"), folder_.path("Giochi.gdt"));
    QVERIFY2(plan.ok(), qPrintable(plan.error));
    QCOMPARE(plan.kind, CsvKind::BoardGameGeek);
    QCOMPARE(plan.toImport, 5);
    QCOMPARE(plan.notOwned, 2);
    QCOMPARE(plan.alreadyThere, 0);
    QCOMPARE(plan.cutValues, 1);
    QCOMPARE(plan.unmappableCharacters, 2);
    QCOMPARE(plan.otherCurrency, 1);
    QVERIFY(!plan.readAsWindows1252);

    const ImportOutcome outcome = importCsvFile(folder_.path("collection.csv"), folder_.path("Giochi.gdt"));
    QCOMPARE(outcome.failure, ImportOutcome::Failure::None);
    QCOMPARE(outcome.imported, 5);
    QCOMPARE(outcome.firstPosition, 2);
    const std::vector<GameRecord> records = folder_.readArchive("Giochi.gdt");
    QCOMPARE(records.size(), std::size_t(6));
    // Titolo, Codice ID, Genere, Casa editrice, Descrizione, Anno, Valore, Lingua, Autore, Rarità,
    // Paese, Complessità, Dimensioni, Difetti, Contenuto, Giocatori, Età, Durata, Stato, Luogo,
    // Note, In vendita, then the six attachment fields.
    const QString none;
    QCOMPARE(recordTexts(records[1]), (QStringList{"Catan: Il Gioco, edizione 2015",
                                                   "13",
                                                   none,
                                                   "Giochi Uniti, Kosmos",
                                                   none,
                                                   "1995",
                                                   "35,50",
                                                   "Italian",
                                                   none,
                                                   none,
                                                   none,
                                                   "2,3 / 5",
                                                   none,
                                                   none,
                                                   none,
                                                   "3-4",
                                                   "10+",
                                                   "120 minuti",
                                                   "Buono",
                                                   "Scaffale A",
                                                   "Scatola ammaccata, manca un dado / comprato a Lucca",
                                                   "No",
                                                   none,
                                                   none,
                                                   none,
                                                   none,
                                                   none,
                                                   none}));
    QCOMPARE(recordTexts(records[2]), (QStringList{"Citt\u00E0 del Gioco",
                                                   "101",
                                                   none,
                                                   "Editrice \u00D1and\u00FA",
                                                   none,
                                                   "2010",
                                                   "0,00",
                                                   "Italiano, Inglese",
                                                   none,
                                                   none,
                                                   none,
                                                   none,
                                                   none,
                                                   none,
                                                   none,
                                                   "2",
                                                   "8+",
                                                   "45-90 minuti",
                                                   "Ottimo",
                                                   "Salotto",
                                                   "Prima riga seconda riga",
                                                   "S\u00EC",
                                                   none,
                                                   none,
                                                   none,
                                                   none,
                                                   none,
                                                   none}));
    QCOMPARE(recordTexts(records[3]),
             (QStringList{"??", "2052",    none, none, none, "-200", "0,00", none,        none, none,
                          none, "4,0 / 5", none, none, none, "2",    none,   "30 minuti", none, none,
                          none, "No",      none, none, none, none,   none,   none}));
    // The second copy, for trade, with nothing else known: Titolo, Codice ID, Valore, In vendita.
    QStringList secondCopy(FieldCount, none);
    secondCopy[0] = "Catan: Il Gioco, edizione 2015";
    secondCopy[1] = "13";
    secondCopy[6] = "0,00";
    secondCopy[21] = "S\u00EC";
    QCOMPARE(recordTexts(records[4]), secondCopy);
    QCOMPARE(recordTexts(records[5]),
             (QStringList{"Brass", "39856", none,   "Una casa editrice dal nome davvero molto lungo, fi",
                          none,    none,    "0,00", none,
                          none,    none,    none,   none,
                          none,    none,    none,   none,
                          none,    none,    none,   none,
                          none,    "No",    none,   none,
                          none,    none,    none,   none}));
}

void TestCsvImport::importingTheSameFileAgainAddsNothing_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("archiveIds"); // the ID codes of the archive's records beforehand
    QTest::addColumn<int>("imported");
    QTest::addColumn<int>("skipped"); // copies the archive already held

    // Each row of a file is one copy: the archive takes those copies of a game that it does not
    // hold yet.
    QTest::newRow("collection with two copies of one game") << BoardGameGeekFile << QStringList{} << 5 << 0;
    const QByteArray twoCopies = "objectname,objectid,fortrade\r\nGo,188,0\r\nGo,188,1\r\n";
    QTest::newRow("two copies, another game in the archive") << twoCopies << QStringList{"12"} << 2 << 0;
    QTest::newRow("two copies, one in the archive") << twoCopies << QStringList{"188"} << 1 << 1;
    QTest::newRow("two copies, both in the archive") << twoCopies << QStringList{"188", "188"} << 0 << 2;
    QTest::newRow("two copies, three in the archive")
        << twoCopies << QStringList{"188", "12", "188", "188"} << 0 << 2;
    const QByteArray ownTwice = ownHeading() + ownRow("Go", "188") + ownRow("Go", "188");
    QTest::newRow("own file, two records of one ID code") << ownTwice << QStringList{} << 2 << 0;
    QTest::newRow("own file, one of them in the archive") << ownTwice << QStringList{"188"} << 1 << 1;
}

void TestCsvImport::importingTheSameFileAgainAddsNothing()
{
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, archiveIds);
    QFETCH(int, imported);
    QFETCH(int, skipped);
    folder_.write("in.csv", csv);
    std::vector<GameRecord> held;
    for (const QString& id : archiveIds)
        held.push_back(recordOf({"Gioco", id}));
    folder_.writeArchive("Giochi.gdt", held);

    const ImportPlan plan = planCsvImportFile(folder_.path("in.csv"), folder_.path("Giochi.gdt"));
    QVERIFY2(plan.ok(), qPrintable(plan.error));
    QCOMPARE(plan.toImport, imported);
    QCOMPARE(plan.alreadyThere, skipped);
    QCOMPARE(importCsvFile(folder_.path("in.csv"), folder_.path("Giochi.gdt")).imported, imported);
    QCOMPARE(folder_.readArchive("Giochi.gdt").size(), std::size_t(archiveIds.size() + imported));

    // The archive now holds every copy of the file.
    const QByteArray once = folder_.read("Giochi.gdt");
    const ImportPlan again = planCsvImportFile(folder_.path("in.csv"), folder_.path("Giochi.gdt"));
    QCOMPARE(again.toImport, 0);
    QCOMPARE(again.alreadyThere, imported + skipped);
    const ImportOutcome outcome = importCsvFile(folder_.path("in.csv"), folder_.path("Giochi.gdt"));
    QCOMPARE(outcome.failure, ImportOutcome::Failure::None);
    QCOMPARE(outcome.imported, 0);
    QCOMPARE(outcome.firstPosition, 0);
    QCOMPARE(folder_.read("Giochi.gdt"), once);
}

void TestCsvImport::numberTooLongGoesToTheNotes_data()
{
    QTest::addColumn<QByteArray>("values"); // yearpublished,currvalue,comment
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("marketValue");
    QTest::addColumn<QString>("notes");
    QTest::addColumn<int>("inNotes");
    QTest::addColumn<int>("cut");

    const QString none;
    QTest::newRow("year 1995") << QByteArray("1995,,") << "1995"
                               << "0,00" << none << 0 << 0;
    QTest::newRow("year -500") << QByteArray("-500,,") << "-500"
                               << "0,00" << none << 0 << 0;
    QTest::newRow("year -2200") << QByteArray("-2200,,") << none << "0,00"
                                << "Anno: -2200" << 1 << 0;
    QTest::newRow("after the comments") << QByteArray("-2200,,Regalo di Natale") << none << "0,00"
                                        << "Regalo di Natale / Anno: -2200" << 1 << 0;
    QTest::newRow("market value that just fits")
        << QByteArray(",123456789,") << none << "123456789,00" << none << 0 << 0;
    QTest::newRow("market value too long")
        << QByteArray(",1234567890,") << none << none << "Valore: 1234567890,00" << 1 << 0;
    QTest::newRow("year and market value too long")
        << QByteArray("-2200,1234567890,") << none << none << "Anno: -2200 / Valore: 1234567890,00" << 2 << 0;
    // The notes hold 250 characters: a line that does not fit whole is left out, and counted as cut.
    const QString room(236, 'x');
    QTest::newRow("just room in the notes")
        << "-2200,," + room.toLatin1() << none << "0,00" << room + " / Anno: -2200" << 1 << 0;
    QTest::newRow("no room in the notes") << "-2200,,x" + room.toLatin1() << none << "0,00"
                                          << "x" + room << 0 << 1;
    QTest::newRow("comment cut, no room")
        << "-2200,," + QByteArray(260, 'y') << none << "0,00" << QString(250, 'y') << 0 << 2;
}

void TestCsvImport::numberTooLongGoesToTheNotes()
{
    QFETCH(QByteArray, values);
    QFETCH(QString, year);
    QFETCH(QString, marketValue);
    QFETCH(QString, notes);
    QFETCH(int, inNotes);
    QFETCH(int, cut);
    folder_.write("in.csv",
                  "objectname,objectid,yearpublished,currvalue,comment\r\nGo,188," + values + "\r\n");
    folder_.write("Giochi.gdt", {});

    const ImportPlan plan = planCsvImportFile(folder_.path("in.csv"), folder_.path("Giochi.gdt"));
    QVERIFY2(plan.ok(), qPrintable(plan.error));
    QCOMPARE(plan.numbersInNotes, inNotes);
    QCOMPARE(plan.cutValues, cut);
    QCOMPARE(importCsvFile(folder_.path("in.csv"), folder_.path("Giochi.gdt")).imported, 1);
    const GameRecord record = folder_.readArchive("Giochi.gdt").at(0);
    QCOMPARE(FieldToText(record.year), year);
    QCOMPARE(FieldToText(record.marketValue), marketValue);
    QCOMPARE(FieldToText(record.notes), notes);
}

void TestCsvImport::fileRead_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("error"); // empty: the file is imported
    QTest::addColumn<int>("imported");
    QTest::addColumn<QByteArray>("lastTitle"); // Windows-1252 bytes of the last record's Titolo
    QTest::addColumn<bool>("windows1252");

    const QByteArray heading = ownHeading();
    const QString unknown = unknownCsvText();
    QTest::newRow("empty file") << QByteArray() << "Il file \u00E8 vuoto: non c'\u00E8 nulla da importare."
                                << 0 << QByteArray() << false;
    QTest::newRow("byte-order mark alone")
        << QByteArray("\xEF\xBB\xBF") << "Il file \u00E8 vuoto: non c'\u00E8 nulla da importare." << 0
        << QByteArray() << false;
    QTest::newRow("blank lines only")
        << QByteArray("\r\n\r\n") << "Il file \u00E8 vuoto: non c'\u00E8 nulla da importare." << 0
        << QByteArray() << false;
    QTest::newRow("binary file") << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)
                                 << "Il file non \u00E8 un file di testo CSV: contiene dati binari." << 0
                                 << QByteArray() << false;
    QTest::newRow("another program's CSV")
        << QByteArray("Titolo,Autore\r\nScacchi,Anonimo\r\n") << unknown << 0 << QByteArray() << false;
    QTest::newRow("only heading") << heading << QString() << 0 << QByteArray() << false;
    QTest::newRow("no byte-order mark")
        << ownHeading(false) + ownRow("Scacchi", "1") << QString() << 1 << QByteArray("Scacchi") << false;
    QTest::newRow("LF line ends") << QByteArray(ownHeading()).replace("\r\n", "\n") +
                                         ownRow("Dama", "1", "\n") + ownRow("Go", "2", "\n")
                                  << QString() << 2 << QByteArray("Go") << false;
    QTest::newRow("no line end after the last row")
        << heading + ownRow("Dama", "1", "") << QString() << 1 << QByteArray("Dama") << false;
    QTest::newRow("CR and LF inside quotes kept")
        << heading + ownRow("\"uno\r\ndue\ntre\rquattro\"", "1") << QString() << 1
        << QByteArray("uno\r\ndue\ntre\rquattro") << false;
    QTest::newRow("not UTF-8: read as Windows-1252")
        << QByteArray(ownHeading(false)).replace("\xC3\xA0", "\xE0").replace("\xE2\x82\xAC", "\x80") +
               ownRow("Citt\xE0 \x80", "1")
        << QString() << 1 << QByteArray("Citt\xE0 \x80") << true;
    QTest::newRow("UTF-8 beyond the code page") << heading + ownRow("Go \xE5\x9B\xB2\xE7\xA2\x81", "1")
                                                << QString() << 1 << QByteArray("Go ??") << false;
    QTest::newRow("value longer than its field")
        << heading + ownRow(QByteArray(130, 'x'), "1") << QString() << 1 << QByteArray(120, 'x') << false;
    QTest::newRow("quote never closed")
        << heading + ownRow("Dama", "1") + ownRow("\"Scacchi", "2") + ownRow("Go", "3")
        << "Riga 3: le virgolette aperte qui non vengono mai chiuse." << 0 << QByteArray() << false;
    QTest::newRow("row with a value too many")
        << heading + ownRow("Dama", "1") + ownRow("\"a\r\nb\"", "2") + ownRow("Go;x", "3")
        << QString("Riga 5: la riga ha %1 valori, ma l'intestazione ne ha %2.")
               .arg(CsvColumnCount + 1)
               .arg(CsvColumnCount)
        << 0 << QByteArray() << false;
    QTest::newRow("row with a value too few")
        << heading + "Dama;1\r\n"
        << QString("Riga 2: la riga ha 2 valori, ma l'intestazione ne ha %1.").arg(CsvColumnCount) << 0
        << QByteArray() << false;
    QTest::newRow("BoardGameGeek row ending early")
        << QByteArray("objectname,objectid,fortrade,comment\r\nDama,11,1\r\nGo,12\r\n") << QString() << 2
        << QByteArray("Go") << false;
    QTest::newRow("BoardGameGeek row too long")
        << QByteArray("objectname,objectid\r\nDama,11,1\r\n")
        << "Riga 2: la riga ha 3 valori, ma l'intestazione ne ha 2." << 0 << QByteArray() << false;
    QTest::newRow("BoardGameGeek with ';' and capital names")
        << QByteArray("\xEF\xBB\xBFObjectId;ObjectName\r\n12;Go\r\n") << QString() << 1 << QByteArray("Go")
        << false;
}

void TestCsvImport::fileRead()
{
    QFETCH(QByteArray, csv);
    QFETCH(QString, error);
    QFETCH(int, imported);
    QFETCH(QByteArray, lastTitle);
    QFETCH(bool, windows1252);
    folder_.write("in.csv", csv);
    GameRecord existing = recordOf({"Esistente", "999"});
    folder_.writeArchive("A.gdt", {existing});
    const QByteArray before = folder_.read("A.gdt");

    QBuffer device(&csv);
    QVERIFY(device.open(QIODevice::ReadOnly));
    const ImportPlan plan = planCsvImport(device, {});
    QCOMPARE(plan.error, error);
    if (error.isEmpty())
        QCOMPARE(plan.toImport, imported);
    QCOMPARE(plan.readAsWindows1252, windows1252);

    const ImportOutcome outcome = importCsvFile(folder_.path("in.csv"), folder_.path("A.gdt"));
    QCOMPARE(outcome.message, error);
    QCOMPARE(outcome.failure, error.isEmpty() ? ImportOutcome::Failure::None : ImportOutcome::Failure::File);
    QCOMPARE(outcome.imported, imported);
    const std::vector<GameRecord> records = folder_.readArchive("A.gdt");
    QCOMPARE(int(records.size()), 1 + imported);
    if (imported == 0) {
        QCOMPARE(folder_.read("A.gdt"), before);
        return;
    }
    const auto& title = records.back().name;
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(title.bytes.data()), title.length), lastTitle);
}

void TestCsvImport::failedImportLeavesTheArchiveAsItWas_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<int>("roomInRecords"); // how many records the disk still takes
    QTest::newRow("full disk") << false << 2;
    // Records are appended 1,024 at a time while the next are made: a failure after some
    // were appended takes those back too.
    QTest::newRow("disk full after the first block") << false << 1500;
    QTest::newRow("read-only archive") << true << 0;
}

void TestCsvImport::failedImportLeavesTheArchiveAsItWas()
{
    QFETCH(bool, readOnly);
    QFETCH(int, roomInRecords);
    QByteArray csv = ownHeading();
    for (int i = 0; i < 3000; ++i)
        csv += ownRow("Gioco " + QByteArray::number(i), "ID" + QByteArray::number(i));
    folder_.write("molti.csv", csv);
    // Two records and the start of a third that was never finished: an import writes over those
    // bytes, and an import that fails puts them back.
    QByteArray archive = folder_.read("molti.csv").left(0);
    for (const GameRecord& record : {recordOf({"Uno", "1"}), recordOf({"Due", "2"})})
        archive.append(reinterpret_cast<const char*>(&record), RecordSize);
    archive += QByteArray(100, '\x7F');
    folder_.write("A.gdt", archive);
    QFile::setPermissions(folder_.dir.path(), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(folder_.path("molti.csv"), QFileDevice::Permissions(0x4444));
    QFile::setPermissions(folder_.path("A.gdt"),
                          readOnly ? QFileDevice::Permissions(0x4444) : QFileDevice::Permissions(0x6666));
    const int result = runInChild(
        [&] {
            const ImportOutcome outcome = importCsvFile(folder_.path("molti.csv"), folder_.path("A.gdt"));
            // An archive this user may only read says so; any other failure is the access error.
            return outcome.failure == (readOnly ? ImportOutcome::Failure::ReadOnly
                                                : ImportOutcome::Failure::Archive) &&
                           outcome.message == (readOnly ? archiveReadOnlyText() : archiveAccessErrorText()) &&
                           outcome.imported == 0
                       ? 0
                       : 1;
        },
        readOnly, readOnly ? 0 : archive.size() + roomInRecords * qint64(RecordSize) + 50);
    QCOMPARE(result, 0);
    QCOMPARE(folder_.read("A.gdt"), archive);
}

QTEST_GUILESS_MAIN(TestCsvImport)
#include "tst_csv_import.moc"
