#include "platform/Windows1252.h"
#include "search/ArchiveScan.h"
#include "search/ListBuilder.h"
#include "search/ListFind.h"
#include "search/ListLine.h"
#include "search/ListLines.h"
#include "search/RecordMatch.h"
#include "storage/ArchiveFile.h"
#include "storage/GameArchive.h"
#include "storage/RecordDeletion.h"

#include "tests/search/SearchFixture.h"
#include "tests/storage/ScriptedSteps.h"
#include "tests/support/RawField.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <sys/wait.h>
#include <unistd.h>

using namespace brivanto;
using brivanto::testing::putRawField;
using namespace std::string_view_literals;

Q_DECLARE_METATYPE(brivanto::GameRecord)

namespace {
const QString Euro = QStringLiteral("\u20AC");

// A record stored by another program, with blanks, tabs and NULs round its values.
GameRecord storedWithBlanks()
{
    GameRecord record{};
    putRawField(record.name, "\t Dama\0"sv);
    putRawField(record.publisher, "\t Dal Negro \0"sv);
    return record;
}

// The archive that the matching rules are tried on.
const QList<GameRecord> Collection = {
    gameRecord({{"name", "Scacchi"},
                {"publisher", "Dal Negro"},
                {"notes", QString::fromUtf8("Pezzi in legno, Èdizione rara")}}),
    gameRecord({{"name", "Il gioco degli SCACCHI"}, {"publisher", "Clementoni"}, {"year", "1990"}}),
    gameRecord({{"name", QString::fromUtf8("Città perduta")},
                {"publisher", "Dal Negro"},
                {"marketValue", "12,50"},
                {"notes", QString::fromUtf8("Costo originale 30 € circa")}}),
    gameRecord({{"name", "Risiko"},
                {"publisher", "Editrice Giochi"},
                {"year", "1968"},
                {"countryOfOrigin", "Italia"}}),
    gameRecord({{"name", "Monopoli"},
                {"publisher", "Editrice Giochi"},
                {"year", "1935"},
                {"boxContents", "Plancia, <dadi> & soldi"}}),
    storedWithBlanks(),
};

QStringList titles(const ListLines& lines)
{
    QStringList names;
    for (qsizetype row = 0; row < lines.size(); ++row)
        names.append(lines.at(row).left(30).trimmed());
    return names;
}

ListLines listOf(const QStringList& texts)
{
    ListLines lines;
    for (const QString& text : texts)
        lines.append(text);
    return lines;
}

QStringList textsOf(const ListLines& lines)
{
    QStringList texts;
    for (qsizetype row = 0; row < lines.size(); ++row)
        texts.append(lines.at(row));
    return texts;
}

struct ScratchArchive
{
    QTemporaryDir dir;
    QString path(const QString& name = QStringLiteral("Giochi.gdt")) const { return dir.filePath(name); }
};

// A game whose line is often equal in the order to others' (the same but for the case of a-z),
// begins theirs, or holds accented letters and the euro sign.
GameRecord randomListedGame(QRandomGenerator& random)
{
    static const QStringList names = {"dama",
                                      "DAMA",
                                      "Dama",
                                      "Dama cinese",
                                      "dama cinese",
                                      "Azul",
                                      "",
                                      "Scacchi",
                                      "scacchi ",
                                      "Scacchi 2",
                                      "Regno dei Draghi e dei Mari",
                                      "REGNO DEI DRAGHI E DEI MARI",
                                      "Regno dei Draghi e dei Mari 2",
                                      QString::fromUtf8("Èra"),
                                      QString::fromUtf8("èra"),
                                      Euro,
                                      "_",
                                      "~"};
    static const QStringList codes = {"", "A1", "a1", "B"};
    return gameRecord({{"name", names[static_cast<qsizetype>(random.bounded(names.size()))]},
                       {"idCode", codes[static_cast<qsizetype>(random.bounded(codes.size()))]},
                       {"year", QString::number(random.bounded(2))}});
}

} // namespace

// The list line, the list order, the search's matching rules, "Trova" and the for-sale rule, on
// real archive files.
class TestSearchLists : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listLine_data();
    void listLine();
    void listLineColumnsStandWhereTheyShould();
    void listOrder_data();
    void listOrder();
    void sortingPutsLinesInListOrder();
    void sortedList_data();
    void sortedList();
    void everyCharacterSortsByTheListOrder();
    void sortingBlockByBlockGivesTheSameList_data();
    void sortingBlockByBlockGivesTheSameList();
    void matching_data();
    void matching();
    void find_data();
    void find();
    void forSale_data();
    void forSale();
    void scanReadsWholeRecordsOnly();
    void scanOfAMissingArchiveCreatesItEmpty();
    void scanThatFailsKeepsWhatItRead();
    void largeArchiveGivesTheListOfOneReading_data();
    void largeArchiveGivesTheListOfOneReading();
    void largeArchiveSearchedWhileAnotherWorkstationDeletes();
    void answeringRecordsKeepTheLastAndTheLastMarked();
    void answeringRecordsOfALargeArchive_data();
    void answeringRecordsOfALargeArchive();
    void answeringRecordsMatchTheWholeLine_data();
    void answeringRecordsMatchTheWholeLine();
    void answeringOnAnUnusableArchiveThrows();
};

void TestSearchLists::listLine_data()
{
    QTest::addColumn<GameRecord>("record");
    QTest::addColumn<QString>("line");

    QTest::newRow("short fields are filled")
        << listedGame("Scacchi", "SC-1", "Classico", "Dal Negro", "1990", "12,50")
        << expectedLine("Scacchi", "SC-1", "Classico", "Dal Negro", "1990", "12,50");
    QTest::newRow("a 35-character title shows its first 30")
        << listedGame(QString::fromUtf8("Il grande gioco delle città perdute"), "ID", "G", "E", "2001",
                      "1,00")
        << expectedLine(QString::fromUtf8("Il grande gioco delle città pe"), "ID", "G", "E", "2001", "1,00");
    QTest::newRow("every column cut to its width")
        << listedGame(QString(40, 'T'), QString(30, 'I'), QString(30, 'G'), QString(30, 'E'), "12",
                      "123456789,00")
        << expectedLine(QString(30, 'T'), QString(24, 'I'), QString(24, 'G'), QString(24, 'E'), "12",
                        "123456789,00");
    QTest::newRow("an empty value ends the line in the euro label")
        << listedGame("Go", "GO-1", "Astratto", "Nessuno", "1950", "")
        << expectedLine("Go", "GO-1", "Astratto", "Nessuno", "1950", "");
    QTest::newRow("blanks round a field are trimmed")
        << gameRecord({{"name", "Go"}}) << expectedLine("Go", "", "", "", "", "");
    QTest::newRow("accented letters and the euro sign")
        << listedGame(QString::fromUtf8("Città € Perù"), QString::fromUtf8("È-1"), "", "", "", "0,00")
        << expectedLine(QString::fromUtf8("Città € Perù"), QString::fromUtf8("È-1"), "", "", "", "0,00");
    QTest::newRow("markup characters stay as they are")
        << listedGame("<b>Dama</b> & co", "", "", "", "", "")
        << expectedLine("<b>Dama</b> & co", "", "", "", "", "");

    GameRecord controls = listedGame("Tab", "", "", "", "", "");
    controls.name.bytes[1] = '\t'; // "T\tb": a control character inside a value stays
    QTest::newRow("control character inside a value") << controls << expectedLine("T\tb", "", "", "", "", "");

    // As another program may store them: the blanks, tabs and NULs round each value are in the
    // field's bytes and counted by its length byte.
    GameRecord padded{};
    putRawField(padded.name, "\0 \tGo \t\0"sv);
    putRawField(padded.idCode, "  GO-1\0"sv);
    putRawField(padded.genre, "\tAstratto "sv);
    putRawField(padded.publisher, "\0Nessuno\0"sv);
    putRawField(padded.year, " 50 "sv);
    putRawField(padded.marketValue, " 5,00\t \0"sv);
    QTest::newRow("blanks, tabs and NULs stored round every field")
        << padded << expectedLine("Go", "GO-1", "Astratto", "Nessuno", "50", "5,00");
    GameRecord edges{};
    putRawField(edges.name, "\xA0Go!"sv);
    putRawField(edges.marketValue, "!5,00\xA0"sv);
    QTest::newRow("stored bytes above the blank stay at either end")
        << edges
        << expectedLine(QStringLiteral(u"\u00A0Go!"), "", "", "", "", QStringLiteral(u"!5,00\u00A0"));

    GameRecord damaged = listedGame(QString(120, 'x'), "", "", "", "", "");
    damaged.name.length = 250; // more than the field holds: read as the whole field
    damaged.idCode.length = 0xFF;
    QTest::newRow("damaged length bytes") << damaged << expectedLine(QString(30, 'x'), "", "", "", "", "");
}

void TestSearchLists::listLine()
{
    QFETCH(GameRecord, record);
    QFETCH(QString, line);
    QCOMPARE(brivanto::listLine(record), line);
}

void TestSearchLists::listLineColumnsStandWhereTheyShould()
{
    const QString line =
        brivanto::listLine(listedGame("Risiko", "RS-68", "Strategia", "Editrice Giochi", "1968", "45,00"));
    // 1-based character positions: 31-36, 61-70, 95-105, 130-137, 142-145.
    QCOMPARE(line.mid(30, 6), "  ID: ");
    QCOMPARE(line.mid(60, 10), "  Genere: ");
    QCOMPARE(line.mid(94, 11), "  Editore: ");
    QCOMPARE(line.mid(129, 8), "  Anno: ");
    QCOMPARE(line.mid(137, 4), "1968");
    QCOMPARE(line.mid(141, 4), QStringLiteral("  \u20AC "));
    QCOMPARE(line.mid(145), "45,00");
}

void TestSearchLists::listOrder_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");

    QTest::newRow("letters whatever their case") << "abc"
                                                 << "ABD";
    QTest::newRow("capitals and small letters mixed") << "Dama"
                                                      << "dAMe";
    QTest::newRow("a beginning before the longer line") << "Scacchi"
                                                        << "scacchi cinesi";
    QTest::newRow("digits before letters") << "7 Wonders"
                                           << "Azul";
    QTest::newRow("underscore after the letters") << "Zz"
                                                  << "_a";
    QTest::newRow("accented letters after Z, by their code") << "Zoo" << QString::fromUtf8("Èra");
    QTest::newRow("accented capital before accented small")
        << QString::fromUtf8("È") << QString::fromUtf8("è");
    QTest::newRow("euro sign after the Latin-1 letters") << QString::fromUtf8("ÿ") << Euro;
}

void TestSearchLists::listOrder()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QVERIFY(listLineLess(first, second));
    QVERIFY(!listLineLess(second, first));
    // A list sorts the two the same way, whichever comes first in the archive.
    for (const QStringList& given : {QStringList{first, second}, QStringList{second, first}}) {
        ListLines list = listOf(given);
        list.sort();
        QCOMPARE(textsOf(list), (QStringList{first, second}));
    }
}

void TestSearchLists::sortedList_data()
{
    QTest::addColumn<QStringList>("given"); // in archive order
    QTest::addColumn<QStringList>("sorted");

    const QString euro = Euro;
    const QString e = QString::fromUtf8("é");
    const QString nul(1, QChar(0));
    QTest::newRow("ASCII, accented letters, then the euro sign")
        << QStringList{euro, e, "z", "E", "~"} << QStringList{"E", "z", "~", e, euro};
    QTest::newRow("code page characters after 0xFF by their code")
        << QStringList{QString::fromUtf8("™"), QString::fromUtf8("Œ"), QString::fromUtf8("ÿ"),
                       QString::fromUtf8("‚"), euro}
        << QStringList{QString::fromUtf8("ÿ"), QString::fromUtf8("Œ"), QString::fromUtf8("‚"), euro,
                       QString::fromUtf8("™")};
    QTest::newRow("a hole of the code page by its own code")
        << QStringList{euro, QString(1, QChar(0xA0)), QString(1, QChar(0x81)), "\x7F"}
        << QStringList{"\x7F", QString(1, QChar(0x81)), QString(1, QChar(0xA0)), euro};
    QTest::newRow("signs between and after the letters")
        << QStringList{"{", "`", "_", "[", "z", "A"} << QStringList{"A", "z", "[", "_", "`", "{"};
    QTest::newRow("a beginning before the longer line, shorter than eight")
        << QStringList{"Go\t", "Go", "Go" + nul, "G"} << QStringList{"G", "Go", "Go" + nul, "Go\t"};
    QTest::newRow("a beginning before the longer line, longer than eight")
        << QStringList{"Scacchi cinesi 2", "scacchi cinesi", "Scacchi cinesi  "}
        << QStringList{"scacchi cinesi", "Scacchi cinesi  ", "Scacchi cinesi 2"};
    QTest::newRow("lines that differ only in case keep the archive order")
        << QStringList{"dama", "DAMA", "Dama", "Azul", "dAMA"}
        << QStringList{"Azul", "dama", "DAMA", "Dama", "dAMA"};
    QTest::newRow("a long shared beginning, then accents")
        << QStringList{"Regno dei Draghi " + euro, "regno dei draghi " + e, "REGNO DEI DRAGHI Z"}
        << QStringList{"REGNO DEI DRAGHI Z", "regno dei draghi " + e, "Regno dei Draghi " + euro};
    QTest::newRow("empty lines first") << QStringList{"a", "", " "} << QStringList{"", " ", "a"};
    QTest::newRow("no lines") << QStringList{} << QStringList{};
}

void TestSearchLists::sortedList()
{
    QFETCH(QStringList, given);
    QFETCH(QStringList, sorted);
    ListLines list = listOf(given);
    list.sort();
    QCOMPARE(textsOf(list), sorted);
}

// Every character the code page holds, alone and after a letter in both cases, takes the place
// the list order gives it.
void TestSearchLists::everyCharacterSortsByTheListOrder()
{
    QStringList texts;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        const QString c = platform::fromWindows1252(&byte, 1);
        texts << c << "q" + c << "Q" + c + "x";
    }
    ListLines list = listOf(texts);
    list.sort();
    const QStringList sorted = textsOf(list);
    QCOMPARE(sorted.size(), texts.size());
    for (qsizetype i = 1; i < sorted.size(); ++i)
        QVERIFY2(!listLineLess(sorted[i], sorted[i - 1]), qPrintable(QString::number(i)));
}

void TestSearchLists::sortingBlockByBlockGivesTheSameList_data()
{
    QTest::addColumn<int>("linesPerBlock");
    for (int lines : {1, 2, 3, 7, 64, 499, 500, 501})
        QTest::addRow("%d lines a block", lines) << lines;
}

// A list sorted block by block while it is built, then merged, is the list sorted in one go, line
// for line: lines equal in the order (the same but for the case of a-z) keep the archive's order
// across blocks too.
void TestSearchLists::sortingBlockByBlockGivesTheSameList()
{
    QFETCH(int, linesPerBlock);
    QRandomGenerator random(linesPerBlock);
    ListBuilder builder(500, linesPerBlock);
    ListLines inOneGo;
    for (int n = 0; n < 500; ++n) {
        const GameRecord record = randomListedGame(random);
        builder.append(record);
        inOneGo.append(record);
    }
    inOneGo.sort();
    const ListLines blockByBlock = builder.finish();
    QCOMPARE(textsOf(blockByBlock), textsOf(inOneGo));
    QVERIFY(builder.finish().isEmpty());
}

void TestSearchLists::sortingPutsLinesInListOrder()
{
    ListLines list = listOf(
        {"scacchi", "Dama", "SCACCHI", "_x", "Scacchi cinesi", "dama", QString::fromUtf8("Éra"), "Azul"});
    list.sort();
    const QStringList lines = textsOf(list);
    // Lines that differ only in the case of a-z are equal in the order: they stay together.
    QCOMPARE(lines.mid(0, 1), QStringList{"Azul"});
    QCOMPARE(QSet<QString>(lines.begin() + 1, lines.begin() + 3), (QSet<QString>{"Dama", "dama"}));
    QCOMPARE(QSet<QString>(lines.begin() + 3, lines.begin() + 5), (QSet<QString>{"scacchi", "SCACCHI"}));
    QCOMPARE(lines.mid(5), (QStringList{"Scacchi cinesi", "_x", QString::fromUtf8("Éra")}));
}

void TestSearchLists::matching_data()
{
    QTest::addColumn<QList<FilterText>>("filters");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<int>("given");

    const QStringList all = {QString::fromUtf8("Città perduta"),
                             "Dama",
                             "Il gioco degli SCACCHI",
                             "Monopoli",
                             "Risiko",
                             "Scacchi"};
    QTest::newRow("no filter lists every record") << QList<FilterText>{} << all << 0;
    QTest::newRow("filters of blanks are not given") << QList<FilterText>{{0, "   "}, {20, "\t"}} << all << 0;
    QTest::newRow("small letters find capitals")
        << QList<FilterText>{{0, "scacchi"}} << QStringList{"Il gioco degli SCACCHI", "Scacchi"} << 1;
    QTest::newRow("capitals find small letters")
        << QList<FilterText>{{0, "PERDUTA"}} << QStringList{QString::fromUtf8("Città perduta")} << 1;
    QTest::newRow("an accented capital does not find the small letter")
        << QList<FilterText>{{0, QString::fromUtf8("CITTÀ")}} << QStringList{} << 1;
    QTest::newRow("an accented small letter finds itself")
        << QList<FilterText>{{0, QString::fromUtf8("ciTTà")}}
        << QStringList{QString::fromUtf8("Città perduta")} << 1;
    QTest::newRow("accented capital matched exactly")
        << QList<FilterText>{{20, QString::fromUtf8("èdizione")}} << QStringList{} << 1;
    QTest::newRow("a blank after the word misses a field ending in it")
        << QList<FilterText>{{3, "negro "}} << QStringList{} << 1;
    QTest::newRow("the same word without the blank")
        << QList<FilterText>{{3, "negro"}}
        << QStringList{QString::fromUtf8("Città perduta"), "Dama", "Scacchi"} << 1;
    QTest::newRow("a blank before the word misses a field starting with it")
        << QList<FilterText>{{3, " dal"}} << QStringList{} << 1;
    QTest::newRow("a blank before the word inside the field")
        << QList<FilterText>{{3, " giochi"}} << QStringList{"Monopoli", "Risiko"} << 1;
    QTest::newRow("every given filter must match")
        << QList<FilterText>{{3, "editrice"}, {5, "1968"}} << QStringList{"Risiko"} << 2;
    QTest::newRow("one of two filters missing")
        << QList<FilterText>{{3, "dal negro"}, {5, "1990"}} << QStringList{} << 2;
    QTest::newRow("the euro sign") << QList<FilterText>{{20, QString::fromUtf8("30 €")}}
                                   << QStringList{QString::fromUtf8("Città perduta")} << 1;
    QTest::newRow("markup characters") << QList<FilterText>{{14, "<DADI> &"}} << QStringList{"Monopoli"} << 1;
    QTest::newRow("a key longer than any field")
        << QList<FilterText>{{0, QString(300, 'a')}} << QStringList{} << 1;
    QTest::newRow("a character no record can hold")
        << QList<FilterText>{{0, QString::fromUtf8("Scacchi→")}} << QStringList{} << 1;
    QTest::newRow("the country filter reads the country of origin")
        << QList<FilterText>{{10, "ital"}} << QStringList{"Risiko"} << 1;
}

void TestSearchLists::matching()
{
    QFETCH(QList<FilterText>, filters);
    QFETCH(QStringList, listed);
    QFETCH(int, given);
    ScratchArchive scratch;
    QByteArray bytes;
    for (const GameRecord& record : Collection)
        bytes += archiveBytes({record});
    QVERIFY(writeArchive(scratch.path(), bytes));

    const RecordFilter filter(std::vector<FilterText>(filters.begin(), filters.end()));
    const ListScan scan = scanArchive(scratch.path(), [&](const GameRecord& r) { return filter.matches(r); });

    QVERIFY(!scan.failed);
    QCOMPARE(filter.givenCount(), given);
    QCOMPARE(titles(scan.lines), listed);
}

void TestSearchLists::find_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("keys"); // typed one after the other
    QTest::addColumn<QList<int>>("rows");  // selected after each

    // 0 Azul, 1 Dama cinese, 2 Dama inglese, 3 Go, 4 Scacchi e dama, 5 Perù? € 5
    QTest::newRow("a new key from the top") << 3 << QStringList{"dama"} << QList<int>{1};
    QTest::newRow("the first line is tested first") << 2 << QStringList{"AZUL"} << QList<int>{0};
    QTest::newRow("the same key moves on and wraps")
        << -1 << QStringList{"dama", "Dama", "DAMA", "dama"} << QList<int>{1, 2, 4, 1};
    QTest::newRow("a new key starts again from the top")
        << -1 << QStringList{"dama", "dama", "go", "a"} << QList<int>{1, 2, 3, 0};
    QTest::newRow("a key held only by the selected line stays on it")
        << 3 << QStringList{"go", "go"} << QList<int>{3, 3};
    QTest::newRow("an empty key selects the first line when none is")
        << -1 << QStringList{""} << QList<int>{0};
    QTest::newRow("an empty key moves nothing") << 2 << QStringList{"", ""} << QList<int>{2, 2};
    QTest::newRow("a key nobody holds moves nothing") << 4 << QStringList{"risiko"} << QList<int>{4};
    QTest::newRow("a key longer than any line") << 1 << QStringList{QString(400, 'a')} << QList<int>{1};
    QTest::newRow("accented letters and the euro sign as typed")
        << 0 << QStringList{QString::fromUtf8("PERù? €")} << QList<int>{5};
    QTest::newRow("an accented capital does not find the small letter")
        << 0 << QStringList{QString::fromUtf8("PERÙ")} << QList<int>{0};
    QTest::newRow("a character no line can hold is not taken for '?'")
        << 2 << QStringList{QString::fromUtf8("perù→"), QString::fromUtf8("perù😀")} << QList<int>{2, 2};
}

void TestSearchLists::find()
{
    QFETCH(int, selected);
    QFETCH(QStringList, keys);
    QFETCH(QList<int>, rows);
    const ListLines lines = listOf(
        {"Azul", "Dama cinese", "Dama inglese", "Go", "Scacchi e dama", QString::fromUtf8("Perù? € 5")});
    ListFind finder;
    QList<int> selections;
    for (const QString& key : keys) {
        selected = finder.next(lines, selected, key);
        selections.append(selected);
    }
    QCOMPARE(selections, rows);
}

void TestSearchLists::forSale_data()
{
    QTest::addColumn<QString>("mark");
    QTest::addColumn<bool>("listed");
    QTest::newRow("marked for sale") << QString::fromUtf8("Sì") << true;
    QTest::newRow("marked not for sale") << "No" << false;
    QTest::newRow("empty mark") << "" << true;
    QTest::newRow("any other text") << "no" << true;
    QTest::newRow("blanks round No") << " No " << false;
}

void TestSearchLists::forSale()
{
    QFETCH(QString, mark);
    QFETCH(bool, listed);
    QCOMPARE(listedForSale(gameRecord({{"forSale", mark}})), listed);
}

void TestSearchLists::scanReadsWholeRecordsOnly()
{
    ScratchArchive scratch;
    QVERIFY(writeArchive(scratch.path(),
                         archiveBytes({gameRecord({{"name", "Uno"}}), gameRecord({{"name", "Due"}})}) +
                             QByteArray(100, 'Z')));
    const ListScan scan = scanArchive(scratch.path(), [](const GameRecord&) { return true; });
    QVERIFY(!scan.failed);
    QCOMPARE(titles(scan.lines), (QStringList{"Due", "Uno"}));
}

void TestSearchLists::scanOfAMissingArchiveCreatesItEmpty()
{
    ScratchArchive scratch;
    const ListScan scan = scanArchive(scratch.path(), [](const GameRecord&) { return true; });
    QVERIFY(!scan.failed);
    QVERIFY(scan.lines.isEmpty());
    QCOMPARE(QFileInfo(scratch.path()).size(), 0);
}

void TestSearchLists::scanThatFailsKeepsWhatItRead()
{
    ScratchArchive scratch;
    QByteArray bytes;
    for (int n = 0; n < 600; ++n)
        bytes +=
            archiveBytes({gameRecord({{"name", QStringLiteral("Gioco %1").arg(n, 3, 10, QChar(u'0'))}})});
    QVERIFY(writeArchive(scratch.path(), bytes));

    // Another program cuts the file short while it is being read: the records after the first
    // read-ahead can no longer be read.
    int seen = 0;
    const ListScan scan = scanArchive(scratch.path(), [&](const GameRecord&) {
        if (seen++ == 0)
            QFile::resize(scratch.path(), 10 * RecordSize);
        return true;
    });
    QVERIFY(scan.failed);
    QVERIFY(scan.lines.size() > 0 && scan.lines.size() < 600);
    QCOMPARE(scan.lines.at(0).left(9), "Gioco 000");

    const ListScan unusable = scanArchive(scratch.dir.path(), [](const GameRecord&) { return true; });
    QVERIFY(unusable.failed);
    QVERIFY(unusable.lines.isEmpty());
}

// A large archive is read in two halves at once: the list is the one a single reading from the
// first record to the last gives, lines equal in the order in file order across the halves too.
void TestSearchLists::largeArchiveGivesTheListOfOneReading_data()
{
    QTest::addColumn<QString>("idCode");
    QTest::newRow("every record") << QString();
    QTest::newRow("one filter") << QStringLiteral("a1");
}

void TestSearchLists::largeArchiveGivesTheListOfOneReading()
{
    QFETCH(QString, idCode);
    QRandomGenerator random(29);
    QByteArray bytes;
    ListLines inOneReading;
    const RecordFilter filter(std::vector<FilterText>{{1, idCode}}); // Codice ID
    for (int n = 0; n < 6001; ++n) {
        const GameRecord record = randomListedGame(random);
        bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
        if (filter.matches(record))
            inOneReading.append(record);
    }
    inOneReading.sort();
    ScratchArchive scratch;
    QVERIFY(writeArchive(scratch.path(), bytes));
    const ListScan scan = scanArchive(scratch.path(), [&](const GameRecord& r) { return filter.matches(r); });
    QVERIFY(!scan.failed);
    QVERIFY(scan.lines.size() > 1000);
    QCOMPARE(textsOf(scan.lines), textsOf(inOneReading));
}

// Another workstation deletes the first game of a large archive. A search that starts while
// the new archive is written waits for it, then reads both halves from the new archive alone.
void TestSearchLists::largeArchiveSearchedWhileAnotherWorkstationDeletes()
{
    constexpr int Count = 5000;
    ScratchArchive scratch;
    QByteArray bytes;
    for (int n = 1; n <= Count; ++n)
        bytes +=
            archiveBytes({gameRecord({{"name", QStringLiteral("Gioco %1").arg(n, 4, 10, QChar(u'0'))}})});
    QVERIFY(writeArchive(scratch.path(), bytes));
    const QString stopped = scratch.path(QStringLiteral("fermo"));
    const QString waiting = scratch.path(QStringLiteral("in-attesa"));
    const auto waitFor = [](const QString& file) {
        for (int tries = 0; tries < 5000 && !QFileInfo::exists(file); ++tries)
            QThread::msleep(2);
        return QFileInfo::exists(file);
    };
    const auto touch = [](const QString& file) {
        QFile created(file);
        return created.open(QIODevice::WriteOnly);
    };

    const pid_t deleting = ::fork();
    if (deleting == 0) {
        ScriptedSteps steps;
        steps.onStep = [&](std::string_view step) {
            if (step == "nuovo archivio scritto") {
                touch(stopped);
                waitFor(waiting);
            }
        };
        GameArchive owner(scratch.path(), scratch.path(QStringLiteral("Foto_Gioco")),
                          QStringLiteral("Giochi"));
        owner.setChangeSteps(&steps);
        const bool deleted =
            owner.deleteRecord(1, bytes.first(qsizetype(RecordSize))).outcome == DeletionOutcome::Deleted;
        ::_exit(deleted ? 0 : 1);
    }
    QVERIFY(waitFor(stopped));
    ArchiveFile::setLockWaitObserver([&](bool nowWaiting) {
        if (nowWaiting)
            touch(waiting);
    });
    const ListScan scan = scanArchive(scratch.path(), [](const GameRecord&) { return true; });
    ArchiveFile::setLockWaitObserver({});
    int status = 0;
    ::waitpid(deleting, &status, 0);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY2(QFileInfo::exists(waiting), "the search did not wait for the deletion");
    QVERIFY(!scan.failed);
    QCOMPARE(scan.lines.size(), Count - 1);
    for (int n = 2; n <= Count; ++n) {
        if (!scan.lines.at(n - 2).startsWith(QStringLiteral("Gioco %1 ").arg(n, 4, 10, QChar(u'0'))))
            QFAIL(qPrintable(scan.lines.at(n - 2)));
    }
}

void TestSearchLists::answeringRecordsKeepTheLastAndTheLastMarked()
{
    ScratchArchive scratch;
    const GameRecord forSale =
        listedGame("Dama", "D-1", "Classico", "Dal Negro", "1980", "5,00", QString::fromUtf8("Sì"));
    const GameRecord unmarked = listedGame("Dama", "D-1", "Classico", "Dal Negro", "1980", "5,00", "");
    const GameRecord other = listedGame("Go", "G-1", "Astratto", "Nessuno", "1950", "");
    QVERIFY(writeArchive(scratch.path(), archiveBytes({forSale, other, unmarked, other})));

    // The selected line may come with blanks round it.
    const AnsweringRecords answering =
        findAnsweringRecords(scratch.path(), QStringLiteral(" ") + brivanto::listLine(forSale) + "\t");
    QVERIFY(answering.last && answering.lastMarked);
    QCOMPARE(answering.last->position, 3);
    QCOMPARE(answering.lastMarked->position, 1);

    const AnsweringRecords none = findAnsweringRecords(scratch.path(), QStringLiteral("Dama"));
    QVERIFY(!none.last && !none.lastMarked);
}

// In a large archive, read in two halves at once, the answers may lie in either half.
void TestSearchLists::answeringRecordsOfALargeArchive_data()
{
    QTest::addColumn<int>("marked");
    QTest::addColumn<int>("unmarked");
    QTest::addColumn<int>("last");
    QTest::newRow("both in the first half") << 10 << 20 << 20;
    QTest::newRow("marked in the first half, unmarked in the second") << 10 << 4000 << 4000;
    QTest::newRow("unmarked in the first half, marked in the second") << 4500 << 100 << 4500;
    QTest::newRow("both in the second half") << 4999 << 3000 << 4999;
}

void TestSearchLists::answeringRecordsOfALargeArchive()
{
    QFETCH(int, marked);
    QFETCH(int, unmarked);
    QFETCH(int, last);
    const GameRecord forSale =
        listedGame("Dama", "D-1", "Classico", "Dal Negro", "1980", "5,00", QString::fromUtf8("Sì"));
    const GameRecord plain = listedGame("Dama", "D-1", "Classico", "Dal Negro", "1980", "5,00", "");
    const GameRecord other = listedGame("Go", "G-1", "Astratto", "Nessuno", "1950", "");
    QByteArray bytes;
    for (int position = 1; position <= 5000; ++position) {
        const GameRecord& record = position == marked ? forSale : position == unmarked ? plain : other;
        bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
    }
    ScratchArchive scratch;
    QVERIFY(writeArchive(scratch.path(), bytes));

    const AnsweringRecords answering = findAnsweringRecords(scratch.path(), brivanto::listLine(forSale));
    QVERIFY(answering.last && answering.lastMarked);
    QCOMPARE(answering.last->position, last);
    QCOMPARE(answering.lastMarked->position, marked);
}

// The archive holds one record per title, all else alike; the line looked for is the list line of
// the record titled `wanted`, with `replace` put in place of its '?' when given. Answering is the
// position of the last record whose line is that line, 0 for none.
void TestSearchLists::answeringRecordsMatchTheWholeLine_data()
{
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("replace");
    QTest::addColumn<int>("answering");

    const QString longTitle = QString::fromUtf8("Il grande gioco delle città perdute");
    QTest::newRow("a title that begins another one's") << QStringList{"Dama", "Dama cinese"} << "Dama"
                                                       << "" << 1;
    QTest::newRow("a title that another one's begins") << QStringList{"Dama cinese", "Dama"} << "Dama"
                                                       << "" << 2;
    QTest::newRow("an empty title") << QStringList{"Dama", "", "Go"} << ""
                                    << "" << 2;
    QTest::newRow("titles alike in their first 30 characters")
        << QStringList{longTitle, longTitle.left(30) + "x", "Go"} << longTitle << "" << 2;
    QTest::newRow("accented letters")
        << QStringList{QString::fromUtf8("Città"), "Citta"} << QString::fromUtf8("Città") << "" << 1;
    QTest::newRow("a character the archive cannot hold")
        << QStringList{"Dama?"} << "Dama?" << QString(QChar(0x0100)) << 0;
}

void TestSearchLists::answeringRecordsMatchTheWholeLine()
{
    QFETCH(QStringList, titles);
    QFETCH(QString, wanted);
    QFETCH(QString, replace);
    QFETCH(int, answering);
    const auto game = [](const QString& title) {
        return listedGame(title, "D-1", "Classico", "Dal Negro", "1980", "5,00");
    };
    QByteArray bytes;
    for (const QString& title : titles) {
        const GameRecord record = game(title);
        bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
    }
    ScratchArchive scratch;
    QVERIFY(writeArchive(scratch.path(), bytes));
    QString line = brivanto::listLine(game(wanted));
    if (!replace.isEmpty())
        line.replace(u'?', replace);

    const AnsweringRecords found = findAnsweringRecords(scratch.path(), line);
    QCOMPARE(found.last ? found.last->position : 0, answering);
}

void TestSearchLists::answeringOnAnUnusableArchiveThrows()
{
    ScratchArchive scratch;
    QVERIFY(QDir().mkpath(scratch.path()));
    QVERIFY_THROWS_EXCEPTION(ArchiveError, findAnsweringRecords(scratch.path(), QStringLiteral("Dama")));
}

QTEST_GUILESS_MAIN(TestSearchLists)
#include "tst_search_lists.moc"
