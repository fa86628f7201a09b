// The statistics without a window: money read and summed in cents, the groups of each chart on
// small collections with known answers, the readers of players, years, lengths and ages, and the
// games behind a group.
#include "statistics/CollectionStatistics.h"
#include "statistics/FieldReadings.h"
#include "statistics/GroupKey.h"
#include "statistics/Money.h"
#include "statistics/StatisticsReading.h"
#include "statistics/StatisticsTable.h"
#include "storage/PhotoNames.h"

#include "tests/statistics/StatisticsFixture.h"
#include "tests/support/CsvRows.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace brivanto;
using namespace brivanto::statistics;

namespace {

constexpr int ThisYear = 2026;

// Feeds `games` at positions 1, 2... and finishes without photos.
std::unique_ptr<CollectionStatistics> statisticsOf(const std::vector<GameRecord>& games,
                                                   const PhotosPresent* photos = nullptr)
{
    auto statistics = std::make_unique<CollectionStatistics>(ThisYear);
    int position = 0;
    for (const GameRecord& record : games)
        statistics->add(record, ++position);
    statistics->finish(photos);
    return statistics;
}

// "label=games" for each group, in the chart's order.
QStringList groupCounts(const CollectionStatistics& statistics, ChartId chart)
{
    QStringList shown;
    for (const ChartGroup& group : statistics.groups(chart))
        shown.append(group.label + QLatin1Char('=') + QString::number(group.totals.games));
    return shown;
}

std::vector<GameRecord> gamesWith(const char* field, const QStringList& values)
{
    std::vector<GameRecord> games;
    for (const QString& value : values)
        games.push_back(game({{field, value}}));
    return games;
}

// The group key of a text given in the archive's code page (Latin-1 here stands for its bytes).
std::string keyOf(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return groupKey(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
}

} // namespace

Q_DECLARE_METATYPE(MarketValueKind)

class TestStatisticsCore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void marketValueReadsOnlyMoney_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<MarketValueKind>("kind");
        QTest::addColumn<qulonglong>("cents");
        QTest::newRow("empty") << "" << MarketValueKind::NotGiven << 0ull;
        QTest::newRow("the editor's zero") << "0,00" << MarketValueKind::NotGiven << 0ull;
        QTest::newRow("as the editor stores it") << "42,50" << MarketValueKind::Given << 4250ull;
        QTest::newRow("one decimal") << "12,5" << MarketValueKind::Given << 1250ull;
        QTest::newRow("no decimals") << "12" << MarketValueKind::Given << 1200ull;
        QTest::newRow("blanks around") << "  7,05 " << MarketValueKind::Given << 705ull;
        QTest::newRow("at the field's capacity")
            << "999999999999" << MarketValueKind::Given << 99999999999900ull;
        QTest::newRow("letters") << "abc" << MarketValueKind::Unreadable << 0ull;
        QTest::newRow("a thousands dot") << "1.234,5" << MarketValueKind::Unreadable << 0ull;
        QTest::newRow("negative") << "-5,00" << MarketValueKind::Unreadable << 0ull;
        QTest::newRow("three decimals") << "2,675" << MarketValueKind::Unreadable << 0ull;
        QTest::newRow("a blank inside") << "1 234,00" << MarketValueKind::Unreadable << 0ull;
        QTest::newRow("a euro sign") << QString::fromUtf8("12 €") << MarketValueKind::Unreadable << 0ull;
        QTest::newRow("only a comma") << "," << MarketValueKind::Unreadable << 0ull;
    }
    void marketValueReadsOnlyMoney()
    {
        QFETCH(QString, stored);
        QFETCH(MarketValueKind, kind);
        QFETCH(qulonglong, cents);
        const MarketValue value = readMarketValue(stored);
        QCOMPARE(value.kind, kind);
        QCOMPARE(qulonglong(value.cents), cents);
    }

    void moneyIsWrittenAsTheEditorWritesIt_data()
    {
        QTest::addColumn<qulonglong>("cents");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("plain");
        QTest::newRow("zero") << 0ull << QString::fromUtf8("0,00 €") << "0,00";
        QTest::newRow("cents") << 5ull << QString::fromUtf8("0,05 €") << "0,05";
        QTest::newRow("hundreds") << 99950ull << QString::fromUtf8("999,50 €") << "999,50";
        QTest::newRow("thousands") << 1234550ull << QString::fromUtf8("12.345,50 €") << "12345,50";
        QTest::newRow("millions") << 123456789012ull << QString::fromUtf8("1.234.567.890,12 €")
                                  << "1234567890,12";
    }
    void moneyIsWrittenAsTheEditorWritesIt()
    {
        QFETCH(qulonglong, cents);
        QFETCH(QString, text);
        QFETCH(QString, plain);
        QCOMPARE(moneyText(cents), text);
        QCOMPARE(plainMoneyText(cents), plain);
    }

    // A hundred thousand values at the field's capacity: the sum passes what 64 signed bits hold,
    // and is exact to the cent.
    void sumOfValuesAtCapacityIsExact()
    {
        const GameRecord record =
            game({{"marketValue", "999999999999"}, {"forSale", QString::fromUtf8("Sì")}});
        CollectionStatistics statistics(ThisYear);
        for (int position = 1; position <= 100000; ++position)
            statistics.add(record, position);
        statistics.finish(nullptr);
        const Figures& figures = statistics.figures();
        QCOMPARE(figures.all.games, std::int64_t(100000));
        QVERIFY(figures.all.value > WideCents(std::numeric_limits<std::int64_t>::max()));
        QCOMPARE(moneyText(figures.all.value), QString::fromUtf8("99.999.999.999.900.000,00 €"));
        QCOMPARE(moneyText(figures.all.valueForSale), QString::fromUtf8("99.999.999.999.900.000,00 €"));
        QCOMPARE(moneyText(figures.average), QString::fromUtf8("999.999.999.999,00 €"));
        QCOMPARE(moneyText(figures.median), QString::fromUtf8("999.999.999.999,00 €"));
        QCOMPARE(moneyText(statistics.groups(ChartId::Genre).at(0).totals.value),
                 QString::fromUtf8("99.999.999.999.900.000,00 €"));
    }

    // The headline figures of a small collection worked out by hand.
    void figuresOfASmallCollection()
    {
        const QString yes = QString::fromUtf8("Sì");
        std::vector<GameRecord> games = {
            game({{"marketValue", "10,00"}, {"forSale", yes}}),
            game({{"marketValue", "20,01"}}),
            game({{"marketValue", "30,00"}, {"defects", "Angolo rotto"}}),
            game({{"marketValue", "0,00"}, {"forSale", yes}}),
            game({{"marketValue", ""}}),
            game({{"marketValue", "abc"}, {"forSale", yes}}),
            game({{"marketValue", "1.234,5"}, {"defects", "  "}}),
            game({{"marketValue", "0,05"}, {"defects", "Manca un dado"}}),
        };
        // A mark neither "Sì" nor "No" counts as for sale, as the for-sale list shows it.
        putRawField(games[1], "forSale", "");
        PhotosPresent photos;
        photos.first = 1;
        photos.a = {1, 0, 0, 0, 0, 0, 0, 0};
        photos.b = {0, 0, 1, 0, 0, 0, 0, 0};
        const auto statistics = statisticsOf(games, &photos);
        const Figures& figures = statistics->figures();
        QCOMPARE(figures.all.games, std::int64_t(8));
        QCOMPARE(figures.withValue, std::int64_t(4));
        QCOMPARE(moneyText(figures.all.value), QString::fromUtf8("60,06 €"));
        // 60,06 / 4 = 15,015: halves go up.
        QCOMPARE(moneyText(figures.average), QString::fromUtf8("15,02 €"));
        // 0,05 10,00 20,01 30,00: halfway between 10,00 and 20,01 is 15,005.
        QCOMPARE(moneyText(figures.median), QString::fromUtf8("15,01 €"));
        QCOMPARE(figures.all.forSale, std::int64_t(4));
        QCOMPARE(moneyText(figures.all.valueForSale), QString::fromUtf8("30,01 €"));
        QCOMPARE(figures.all.withoutValue, std::int64_t(4));
        QCOMPARE(figures.unreadableValue, std::int64_t(2));
        QCOMPARE(figures.withDefects, std::int64_t(2));
        QCOMPARE(figures.withoutPhoto, std::int64_t(6));

        QCOMPARE(statistics->positions(Selection::ofSubset(Subset::ForSale)), (std::vector<int>{1, 2, 4, 6}));
        QCOMPARE(statistics->positions(Selection::ofSubset(Subset::WithoutValue)),
                 (std::vector<int>{4, 5, 6, 7}));
        QCOMPARE(statistics->positions(Selection::ofSubset(Subset::WithDefects)), (std::vector<int>{3, 8}));
        QCOMPARE(statistics->positions(Selection::ofSubset(Subset::WithoutPhoto)),
                 (std::vector<int>{2, 4, 5, 6, 7, 8}));
    }

    void medianOfAnOddNumber()
    {
        const auto statistics =
            statisticsOf(gamesWith("marketValue", {"5,00", "1,00", "100,00", "", "abc", "3,00", "4,00"}));
        QCOMPARE(moneyText(statistics->figures().median), QString::fromUtf8("4,00 €"));
        QCOMPARE(moneyText(statistics->figures().average), QString::fromUtf8("22,60 €"));
    }

    void emptyCollectionHasZeroFigures()
    {
        const auto statistics = statisticsOf({});
        QCOMPARE(statistics->figures().all.games, std::int64_t(0));
        QCOMPARE(moneyText(statistics->figures().average), QString::fromUtf8("0,00 €"));
        QCOMPARE(moneyText(statistics->figures().median), QString::fromUtf8("0,00 €"));
        QVERIFY(statistics->groups(ChartId::Genre).empty());
        QCOMPARE(statistics->groups(ChartId::Players).size(), std::size_t(8)); // the scale, all at zero
        QVERIFY(statistics->groups(ChartId::MostValuable).empty());
    }

    void groupKeysIgnoreCaseAccentsAndBlanks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::newRow("capitals") << "STRATEGICO"
                                  << "strategico";
        QTest::newRow("accent") << QString::fromLatin1("Rarit\xE0") << "rarita";
        QTest::newRow("accent typed as an apostrophe") << "RARITA'"
                                                       << "rarita";
        QTest::newRow("elision stays") << "Dell'Isola"
                                       << "dell'isola";
        QTest::newRow("blanks inside") << "Party   game"
                                       << "party game";
        QTest::newRow("cedilla and tilde") << QString::fromLatin1("Fran\xC7"
                                                                  "ais Espa\xF1ol")
                                           << "francais espanol";
    }
    void groupKeysIgnoreCaseAccentsAndBlanks()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        QCOMPARE(QString::fromLatin1(keyOf(text)), key);
    }

    // Spellings of one value make one group, named by its most frequent spelling; an empty field
    // is "(non indicato)", always last.
    void textGroupsFoldSpellings()
    {
        const auto statistics =
            statisticsOf(gamesWith("genre", {"Strategico", "strategico", " STRATEGICO ", "strategico",
                                             QString::fromUtf8("Cooperativo"), "", "   ",
                                             QString::fromUtf8("Strategìco"), "Party game", "party  game"}));
        QCOMPARE(groupCounts(*statistics, ChartId::Genre),
                 (QStringList{"strategico=5", "Party game=2", "Cooperativo=1", "(non indicato)=2"}));
    }

    // Twelve groups of their own, the rest in "Altro"; a thirteenth alone keeps its name.
    void smallGroupsMergeIntoOther_data()
    {
        QTest::addColumn<int>("values");
        QTest::addColumn<int>("groups");
        QTest::addColumn<int>("inOther");
        QTest::newRow("twelve") << 12 << 12 << 0;
        QTest::newRow("thirteen") << 13 << 13 << 0;
        QTest::newRow("fourteen") << 14 << 13 << 2;
        QTest::newRow("twenty") << 20 << 13 << 8;
    }
    void smallGroupsMergeIntoOther()
    {
        QFETCH(int, values);
        QFETCH(int, groups);
        QFETCH(int, inOther);
        // Value n held by n games, so the order is known: the largest first.
        std::vector<GameRecord> games;
        for (int n = 1; n <= values; ++n) {
            for (int copy = 0; copy < n; ++copy)
                games.push_back(game({{"publisher", QStringLiteral("Editore %1").arg(n)}}));
        }
        const auto statistics = statisticsOf(games);
        const auto& shown = statistics->groups(ChartId::Publisher);
        QCOMPARE(int(shown.size()), groups);
        QCOMPARE(shown.front().label, QStringLiteral("Editore %1").arg(values));
        if (inOther > 0) {
            QCOMPARE(shown.back().label, QStringLiteral("Altro"));
            QCOMPARE(shown.back().kind, GroupKind::Other);
            QCOMPARE(shown.back().totals.games, std::int64_t(inOther * (inOther + 1) / 2));
        }
        std::int64_t all = 0;
        for (const ChartGroup& group : shown)
            all += group.totals.games;
        QCOMPARE(all, std::int64_t(games.size()));
    }

    // A hundred thousand different genres: twelve of one game each, the rest in "Altro".
    void aHundredThousandDistinctGenres()
    {
        CollectionStatistics statistics(ThisYear);
        GameRecord record = game({});
        for (int position = 1; position <= 100000; ++position) {
            TextToField(QStringLiteral("Genere %1").arg(position), record.genre);
            statistics.add(record, position);
        }
        statistics.finish(nullptr);
        const auto& shown = statistics.groups(ChartId::Genre);
        QCOMPARE(shown.size(), std::size_t(13));
        QCOMPARE(shown.back().totals.games, std::int64_t(100000 - 12));
        QCOMPARE(statistics.positions(Selection::ofGroup(ChartId::Genre, 12)).size(),
                 std::size_t(100000 - 12));
    }

    void playersCountEveryNumberAGameTakes()
    {
        const auto statistics =
            statisticsOf(gamesWith("players", {"2-4", QString::fromUtf8("2–5"), "2+", "tutti", "", "1", "10",
                                               "3 - 4 giocatori", "4-2"}));
        QCOMPARE(
            groupCounts(*statistics, ChartId::Players),
            (QStringList{"1 giocatore=1", "2 giocatori=3", "3 giocatori=4", "4 giocatori=4", "5 giocatori=2",
                         "6 giocatori=1", "7 giocatori=1", QString::fromUtf8("8 o più giocatori=2"),
                         "(non riconosciuto)=2", "(non indicato)=1"}));
        QVERIFY(!CollectionStatistics::groupsArePartition(ChartId::Players));
        // Two to five: the 2nd game is in the groups 2, 3, 4 and 5 and no other.
        for (int group = 0; group < 8; ++group) {
            const std::vector<int> positions =
                statistics->positions(Selection::ofGroup(ChartId::Players, group));
            const bool holdsSecond = std::find(positions.begin(), positions.end(), 2) != positions.end();
            QCOMPARE(holdsSecond, group >= 1 && group <= 4);
        }
    }

    void playersReadings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("mask");
        QTest::newRow("range") << "2-4" << 0b1110;
        QTest::newRow("en dash") << QString::fromLatin1("2\x96"
                                                        "4")
                                 << 0b1110;
        QTest::newRow("em dash, blanks") << QString::fromLatin1("2 \x97 4") << 0b1110;
        QTest::newRow("slash") << "2/4" << 0b1110;
        QTest::newRow("words") << "da 2 a 4 giocatori" << 0b1110;
        QTest::newRow("plus") << "6+" << 0b11100000;
        QTest::newRow("o piu") << QString::fromLatin1("5 o pi\xF9") << 0b11110000;
        QTest::newRow("list") << "2, 4" << 0b1010;
        QTest::newRow("one") << "1 giocatore" << 0b1;
        QTest::newRow("large party") << "6-20" << 0b11100000;
        QTest::newRow("words only") << "tutti" << 0;
        QTest::newRow("backwards") << "4-2" << 0;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("decimal") << "2,5" << 0;
    }
    void playersReadings()
    {
        QFETCH(QString, text);
        QFETCH(int, mask);
        QCOMPARE(int(readPlayers(keyOf(text))), mask);
    }

    void decadesOfTheYearOfRelease()
    {
        const auto statistics = statisticsOf(
            gamesWith("year", {"1995", "1999", "2001", "0", "'80", "2099", "", "1987", "95", "2026"}));
        QCOMPARE(groupCounts(*statistics, ChartId::Decade),
                 (QStringList{QString::fromUtf8("1980–1989=1"), QString::fromUtf8("1990–1999=2"),
                              QString::fromUtf8("2000–2009=1"), QString::fromUtf8("2020–2029=1"),
                              "(non riconosciuto)=4", "(non indicato)=1"}));
    }

    void playingTimeReadings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minutes"); // 0: not recognised
        QTest::newRow("bare") << "45" << 45;
        QTest::newRow("minutes") << "45 minuti" << 45;
        QTest::newRow("min.") << "20 min." << 20;
        QTest::newRow("apostrophe") << "30'" << 30;
        QTest::newRow("hour") << "1 ora" << 60;
        QTest::newRow("hours with a comma") << "1,5 ore" << 90;
        QTest::newRow("h and minutes") << "1h30" << 90;
        QTest::newRow("hour and minutes") << "1 ora e 30 minuti" << 90;
        QTest::newRow("hour and a half") << "1 ora e mezza" << 90;
        QTest::newRow("range of minutes") << "30-60 minuti" << 45;
        QTest::newRow("range of hours") << "1-2 ore" << 90;
        QTest::newRow("range, en dash") << QString::fromLatin1("60\x96"
                                                               "90 min")
                                        << 75;
        QTest::newRow("about") << "circa 40 minuti" << 40;
        QTest::newRow("half an hour") << "mezz'ora" << 30;
        QTest::newRow("words") << "una serata" << 0;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("backwards") << "90-30" << 0;
    }
    void playingTimeReadings()
    {
        QFETCH(QString, text);
        QFETCH(int, minutes);
        QCOMPARE(readPlayingMinutes(keyOf(text)).value_or(0), minutes);
    }

    void playingTimeBands()
    {
        const auto statistics = statisticsOf(
            gamesWith("playingTime", {"15", "16", "45 minuti", "1 ora", "61", "2 ore", "3 ore", "boh", ""}));
        QCOMPARE(groupCounts(*statistics, ChartId::PlayingTime),
                 (QStringList{"fino a 15 minuti=1", "da 16 a 30 minuti=1", "da 31 a 60 minuti=2",
                              "da 61 a 90 minuti=1", "da 91 minuti a 2 ore=1", "oltre 2 ore=1",
                              "(non riconosciuto)=1", "(non indicato)=1"}));
    }

    void ageReadings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("age");
        QTest::newRow("bare") << "10" << 10;
        QTest::newRow("plus") << "10+" << 10;
        QTest::newRow("years") << "8 anni" << 8;
        QTest::newRow("from") << "da 12 anni" << 12;
        QTest::newRow("from, up") << "dai 14 anni in su" << 14;
        QTest::newRow("range") << "8-12" << 8;
        QTest::newRow("plus years") << "14+ anni" << 14;
        QTest::newRow("words") << "tutte" << 0;
        QTest::newRow("zero") << "0" << 0;
    }
    void ageReadings()
    {
        QFETCH(QString, text);
        QFETCH(int, age);
        QCOMPARE(readAge(keyOf(text)).value_or(0), age);
    }

    void agesInOrder()
    {
        const auto statistics =
            statisticsOf(gamesWith("recommendedAge", {"14+", "8 anni", "10+", "8+", "?"}));
        QCOMPARE(groupCounts(*statistics, ChartId::Age),
                 (QStringList{"da 8 anni=2", "da 10 anni=1", "da 14 anni=1", "(non riconosciuto)=1"}));
    }

    // Value and for-sale totals of a group, and the ten most valuable with the earlier game first
    // among equal values.
    void valueByGroupAndMostValuable()
    {
        const QString yes = QString::fromUtf8("Sì");
        std::vector<GameRecord> games;
        for (int n = 1; n <= 12; ++n)
            games.push_back(game({{"name", QStringLiteral("Gioco %1").arg(n)},
                                  {"genre", n % 2 ? "Strategico" : "Astratto"},
                                  {"marketValue", QStringLiteral("%1,00").arg(n % 6 * 10)},
                                  {"forSale", n <= 3 ? yes : QStringLiteral("No")}}));
        const auto statistics = statisticsOf(games);
        const auto& genres = statistics->groups(ChartId::Genre);
        QCOMPARE(genres.size(), std::size_t(2));
        // Odd: 10 30 50 10 30 50 = 180 (3 for sale? 1 and 3: 10 + 30); even: 20 40 0 20 40 0 = 120.
        const auto& odd = genres[0].label == QLatin1String("Strategico") ? genres[0] : genres[1];
        QCOMPARE(moneyText(odd.totals.value), QString::fromUtf8("180,00 €"));
        QCOMPARE(odd.totals.forSale, std::int64_t(2));
        QCOMPARE(moneyText(odd.totals.valueForSale), QString::fromUtf8("40,00 €"));
        QCOMPARE(odd.totals.withoutValue, std::int64_t(0));

        QStringList top;
        for (const ChartGroup& group : statistics->groups(ChartId::MostValuable))
            top.append(group.label);
        QCOMPARE(top,
                 (QStringList{"Gioco 5 (scheda n. 5)", "Gioco 11 (scheda n. 11)", "Gioco 4 (scheda n. 4)",
                              "Gioco 10 (scheda n. 10)", "Gioco 3 (scheda n. 3)", "Gioco 9 (scheda n. 9)",
                              "Gioco 2 (scheda n. 2)", "Gioco 8 (scheda n. 8)", "Gioco 1 (scheda n. 1)",
                              "Gioco 7 (scheda n. 7)"}));
        QCOMPARE(statistics->positions(Selection::ofGroup(ChartId::MostValuable, 1)), std::vector<int>{11});
    }

    // The games of a group, as it was read; a game changed since is no longer in it.
    void gamesOfAGroup()
    {
        const auto statistics = statisticsOf(
            gamesWith("genre", {"Strategico", "Astratto", "strategico", "", "Astratto", "STRATEGICO"}));
        QCOMPARE(statistics->describe(Selection::ofGroup(ChartId::Genre, 0)),
                 QStringLiteral("Genere: Strategico"));
        QCOMPARE(statistics->positions(Selection::ofGroup(ChartId::Genre, 0)), (std::vector<int>{1, 3, 6}));
        QCOMPARE(statistics->positions(Selection::ofGroup(ChartId::Genre, 1)), (std::vector<int>{2, 5}));
        QCOMPARE(statistics->positions(Selection::ofGroup(ChartId::Genre, 2)), (std::vector<int>{4}));
        QVERIFY(statistics->belongs(game({{"genre", "strategico"}}), Selection::ofGroup(ChartId::Genre, 0)));
        QVERIFY(statistics->belongs(game({{"genre", QString::fromUtf8("STRATÉGICO")}}),
                                    Selection::ofGroup(ChartId::Genre, 0)));
        QVERIFY(!statistics->belongs(game({{"genre", "Astratto"}}), Selection::ofGroup(ChartId::Genre, 0)));
        QVERIFY(!statistics->belongs(game({{"genre", "Party game"}}), Selection::ofGroup(ChartId::Genre, 0)));
        QVERIFY(statistics->belongs(game({}), Selection::ofGroup(ChartId::Genre, 2)));
    }

    // Through the archive file: only the games the list covers, and an archive that cannot be read.
    void readsTheArchiveForTheCoveredGames()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Giochi.gdt"));
        QVERIFY(writeGames(path, gamesWith("genre", {"Strategico", "Astratto", "Strategico"})));
        QDir(folder.path()).mkpath(QStringLiteral("Foto_Gioco"));
        QFile(folder.filePath(QStringLiteral("Foto_Gioco/Giochi_Foto_B_3.jpg"))).open(QIODevice::WriteOnly);
        const auto all = readStatistics(path, folder.filePath(QStringLiteral("Foto_Gioco")),
                                        QStringLiteral("Giochi"), {}, ThisYear);
        QVERIFY(all);
        QCOMPARE(all->figures().all.games, std::int64_t(3));
        QCOMPARE(all->figures().withoutPhoto, std::int64_t(2));
        QCOMPARE(all->archiveRecords(), 3);

        const auto some = readStatistics(
            path, folder.filePath(QStringLiteral("Foto_Gioco")), QStringLiteral("Giochi"),
            [](const GameRecord& record) { return FieldToText(record.genre) == QLatin1String("Strategico"); },
            ThisYear);
        QVERIFY(some);
        QCOMPARE(some->figures().all.games, std::int64_t(2));
        QCOMPARE(some->positions(Selection::ofSubset(Subset::WithoutPhoto)), std::vector<int>{1});

        // A folder where the archive should be cannot be read as one.
        QDir(folder.path()).mkpath(QStringLiteral("Cartella.gdt"));
        QVERIFY(!readStatistics(folder.filePath(QStringLiteral("Cartella.gdt")), folder.path(),
                                QStringLiteral("Cartella"), {}, ThisYear));
    }

    // A large archive is read in two halves at once: the joined statistics are those of one reading
    // from the first record to the last, spellings, groups, positions and the most valuable alike.
    void halvesJoinAsOneReading()
    {
        const QStringList genres{"Strategico", "strategico", "Cooperativo", "", "Party game", "Astratto"};
        const QStringList players{"2-4", "1", "tutti", "", "3+"};
        std::vector<GameRecord> games;
        for (int n = 0; n < 9001; ++n) {
            // Spellings that first appear in the second half, and equal values in both halves.
            const QString genre = n > 6000 && n % 97 == 0 ? QStringLiteral("Gestionale %1").arg(n % 3)
                                                          : genres[n % genres.size()];
            games.push_back(
                game({{"name", QStringLiteral("Gioco %1").arg(n)},
                      {"genre", genre},
                      {"publisher", QStringLiteral("Editore %1").arg(n % 23)},
                      {"players", players[n % players.size()]},
                      {"year", QString::number(1950 + n % 80)},
                      {"marketValue", QStringLiteral("%1,%2").arg(n % 500).arg(n % 100, 2, 10, QChar(u'0'))},
                      {"forSale", n % 7 == 0 ? QString::fromUtf8("Sì") : QStringLiteral("No")}}));
        }
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Grande.gdt"));
        QVERIFY(writeGames(path, games));
        const auto read = readStatistics(path, folder.filePath(QStringLiteral("Foto_Gioco")),
                                         QStringLiteral("Grande"), {}, ThisYear);
        QVERIFY(read);
        const auto once = statisticsOf(games);
        QCOMPARE(read->figures().all, once->figures().all);
        QCOMPARE(moneyText(read->figures().median), moneyText(once->figures().median));
        for (const ChartInfo& info : Charts) {
            QCOMPARE(groupCounts(*read, info.id), groupCounts(*once, info.id));
            const auto& groups = once->groups(info.id);
            for (int g = 0; g < int(groups.size()); ++g) {
                QVERIFY(read->groups(info.id)[std::size_t(g)].totals == groups[std::size_t(g)].totals);
                QCOMPARE(read->positions(Selection::ofGroup(info.id, g)),
                         once->positions(Selection::ofGroup(info.id, g)));
            }
        }
        // Only games whose value ends in ",99" from 499: the most valuable, the earlier first.
        QCOMPARE(read->groups(ChartId::MostValuable).front().label,
                 QStringLiteral("Gioco 499 (scheda n. 500)"));
        QCOMPARE(read->positions(Selection::ofSubset(Subset::ForSale)),
                 once->positions(Selection::ofSubset(Subset::ForSale)));

        // The games of a list, in two halves too.
        const auto some = readStatistics(
            path, folder.filePath(QStringLiteral("Foto_Gioco")), QStringLiteral("Grande"),
            [](const GameRecord& record) {
                return FieldToText(record.genre).startsWith(QLatin1String("Gest"));
            },
            ThisYear);
        QVERIFY(some);
        QCOMPARE(some->figures().all.games, std::int64_t(31));
        QCOMPARE(groupCounts(*some, ChartId::Genre).first(), QStringLiteral("Gestionale 2=11"));
        QCOMPARE(some->positions(Selection::ofGroup(ChartId::Genre, 0)).front(), 6015);
    }

    // The table as the program writes CSV: labels with the separator, quotes or a tab come back
    // whole; figures are plain numbers; the clipboard's tabs never split a label.
    void tableCsvKeepsAwkwardLabels()
    {
        const auto statistics =
            statisticsOf(gamesWith("publisher", {"Tavolo; Dadi", "Tavolo; Dadi", "Il \"Grande\" Editore",
                                                 QString::fromUtf8("Città\tLudica")}));
        const std::vector<TableRow> rows = chartRows(*statistics, ChartId::Publisher, Measure::Games);
        const QByteArray csv = tableCsv(ChartId::Publisher, Measure::Games, rows);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> read = csvRows(QString::fromUtf8(csv.mid(3)), QLatin1Char(';'));
        QCOMPARE(read.size(), 4);
        QCOMPARE(read.at(1), (QStringList{"Tavolo; Dadi", "2", "0", "0,00", "50,0"}));
        // Equal groups by their key: "citta ludica" before "il grande editore".
        QCOMPARE(read.at(2).first(), QString::fromUtf8("Città\tLudica"));
        QCOMPARE(read.at(3).first(), QStringLiteral("Il \"Grande\" Editore"));
        QVERIFY(csv.contains("\"Tavolo; Dadi\";2;0;0,00;50,0\r\n"));
        const QStringList pasted =
            tableTabText(ChartId::Publisher, Measure::Games, rows).split(QStringLiteral("\r\n"));
        QCOMPARE(pasted.at(2), QString::fromUtf8("Città Ludica\t1\t0\t0,00\t25,0"));
    }

    // A length byte beyond the capacity reads as the capacity, as the editor shows the field.
    void damagedLengthReadsAsTheCapacity()
    {
        GameRecord record = game({});
        putRawField(record, "year", "1990");
        record.year.length = 200;
        const auto statistics = statisticsOf({record});
        QCOMPARE(groupCounts(*statistics, ChartId::Decade).first(), QString::fromUtf8("1990–1999=1"));
    }
};

QTEST_GUILESS_MAIN(TestStatisticsCore)
#include "tst_statistics_core.moc"
