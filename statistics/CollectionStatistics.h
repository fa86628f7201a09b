#pragma once

#include "statistics/Money.h"
#include "statistics/StatisticCharts.h"
#include "storage/GameRecord.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace brivanto {
struct PhotosPresent;
}

namespace brivanto::statistics {

// What a group, a chart or the whole collection adds up to.
struct Totals
{
    std::int64_t games = 0;
    std::int64_t forSale = 0;
    std::int64_t withoutValue = 0; // no market value, or one that is not money
    WideCents value = 0;           // of the games with a market value
    WideCents valueForSale = 0;

    void add(const Totals& other)
    {
        games += other.games;
        forSale += other.forSale;
        withoutValue += other.withoutValue;
        value += other.value;
        valueForSale += other.valueForSale;
    }
    bool operator==(const Totals&) const = default;
};

enum class GroupKind
{
    Value,        // a value of the field, or a band or number read out of it
    Other,        // "Altro": the smaller groups of a text field
    NotGiven,     // "(non indicato)": the field is empty
    NotRecognised // "(non riconosciuto)": a text the chart cannot read (a year "'80", players "tutti")
};

inline const QString OtherLabel = QStringLiteral("Altro");
inline const QString NotGivenLabel = QStringLiteral("(non indicato)");
inline const QString NotRecognisedLabel = QStringLiteral("(non riconosciuto)");

struct ChartGroup
{
    QString label;
    GroupKind kind = GroupKind::Value;
    Totals totals;
};

// The headline figures. The average and the median are of the games with a market value.
struct Figures
{
    Totals all;
    std::int64_t withValue = 0;
    std::int64_t unreadableValue = 0; // of the games without a value, those whose value is not money
    std::int64_t withoutPhoto = 0;    // neither photo of the game is in the photo folder
    std::int64_t withDefects = 0;     // the field "Difetti" is not empty
    WideCents average = 0;
    WideCents median = 0;
};

// The games behind a figure, listed from the figures.
enum class Subset
{
    ForSale,
    WithoutValue,
    WithoutPhoto,
    WithDefects
};

// What the user activated: a group of a chart, or a figure's games.
struct Selection
{
    bool isGroup = true;
    ChartId chart = ChartId::Genre;
    int group = 0;
    Subset subset = Subset::ForSale;

    static Selection ofGroup(ChartId chart, int group) { return {true, chart, group, Subset::ForSale}; }
    static Selection ofSubset(Subset subset) { return {false, ChartId::Genre, 0, subset}; }
};

class SpellingTable;

// The statistics of a collection: fed the records of an archive in file order, then finished.
// Money is summed in cents, exactly. Each text field is grouped by its spellings: a spelling is
// counted once per record, and folded into its group's key only when first met, so that a field
// with a handful of values costs one lookup a record whatever its length.
class CollectionStatistics
{
public:
    // `currentYear`: a later year of release is not recognised.
    explicit CollectionStatistics(int currentYear);
    ~CollectionStatistics();
    CollectionStatistics(const CollectionStatistics&) = delete;
    CollectionStatistics& operator=(const CollectionStatistics&) = delete;

    // Room for the games of an archive of `records` records, so that reading it grows nothing.
    void reserve(int records);
    // One record, at its position (from 1) in the archive.
    void add(const GameRecord& record, int position);

    // Takes in the statistics of the records that follow this one's in the same archive, read on
    // another thread: one archive is read in two halves at once, then the halves are joined. Both
    // are unfinished; `later` is spent and may only be destroyed.
    void absorb(CollectionStatistics&& later);

    // After the last record: groups, merges and orders; `photos` tells which positions have
    // photos (none: every game counts as without one).
    void finish(const PhotosPresent* photos);

    const Figures& figures() const { return figures_; }
    // The groups of a chart, in the chart's order: the values (by number of games for a text
    // field, in their natural order for years, players, lengths and ages, by value for the most
    // valuable), then "Altro", "(non riconosciuto)" and "(non indicato)" when they hold games.
    const std::vector<ChartGroup>& groups(ChartId chart) const;
    // Whether the games of the chart's groups add up to the whole: not for the numbers of
    // players, where a game for two to four counts in three groups.
    static bool groupsArePartition(ChartId chart) { return chart != ChartId::Players; }

    // The positions of the games a selection holds, in file order.
    std::vector<int> positions(const Selection& selection) const;
    // Whether `record`, read again, still belongs to the selection (a game changed since the
    // archive was read may not); a figure of photos is taken as read.
    bool belongs(const GameRecord& record, const Selection& selection) const;
    // "Genere: Strategico", "In vendita".
    QString describe(const Selection& selection) const;

    // The number of records of the archive when it was read, and of those the statistics cover.
    int archiveRecords() const { return archiveRecords_; }
    void setArchiveRecords(int records) { archiveRecords_ = records; }

private:
    struct FieldChart;
    struct GameSummary
    {
        std::uint64_t cents = 0;
        bool given = false;
        bool forSale = false;
    };
    static constexpr int FieldChartCount = ChartCount - 1;
    GameSummary addFigures(const GameRecord& record, int position);
    // The spelling's number in the chart, a new spelling classified as it comes.
    std::uint32_t spellingOf(FieldChart& chart, const std::uint8_t* text, std::size_t size);
    std::uint32_t classify(const FieldChart& chart, const std::uint8_t* text, std::size_t size) const;
    void finishTextChart(FieldChart& chart);
    void finishOrdinalChart(FieldChart& chart);
    void finishMostValuable();
    int groupOf(const FieldChart& chart, std::uint32_t spelling) const;

    int currentYear_;
    int archiveRecords_ = 0;
    std::vector<std::unique_ptr<FieldChart>> charts_; // one per chart of a field
    std::vector<ChartGroup> mostValuable_;
    std::vector<int> positions_;        // of the games covered, in file order
    std::vector<std::uint8_t> flags_;   // per game covered
    std::vector<std::uint64_t> values_; // the cents of each game with a value
    struct Valuable
    {
        std::uint64_t cents;
        int position;
        QString name;
        bool forSale;
    };
    std::vector<Valuable> valuable_; // the most valuable so far, highest first
    Figures figures_;
};

} // namespace brivanto::statistics
