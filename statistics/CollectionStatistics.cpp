#include "statistics/CollectionStatistics.h"

#include "platform/Windows1252.h"
#include "statistics/FieldReadings.h"
#include "statistics/GroupKey.h"
#include "statistics/SpellingTable.h"
#include "storage/PhotoNames.h"

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <unordered_map>

namespace brivanto::statistics {

static_assert(Fields[2].name == "genre" && Fields[3].name == "publisher" && Fields[5].name == "year");
static_assert(Fields[6].name == "marketValue" && Fields[7].name == "language" && Fields[9].name == "rarity");
static_assert(Fields[10].name == "countryOfOrigin" && Fields[11].name == "complexity");
static_assert(Fields[13].name == "defects" && Fields[15].name == "players" &&
              Fields[16].name == "recommendedAge");
static_assert(Fields[17].name == "playingTime" && Fields[18].name == "condition");
static_assert(Fields[19].name == "storagePlace" && Fields[21].name == "forSale" && Fields[0].name == "name");

namespace {

constexpr std::size_t NameField = 0;
constexpr std::size_t MarketValueField = 6;
constexpr std::size_t DefectsField = 13;
constexpr std::size_t ForSaleField = 21;

// The cache lines of a record that the statistics read: one a field, from the genre to the
// for-sale mark (a line holds 64 bytes; the fields lie further apart).
constexpr std::array<std::size_t, 17> PrefetchedOffsets{
    Fields[0].offset,  Fields[2].offset,  Fields[3].offset,  Fields[5].offset,  Fields[6].offset + 12,
    Fields[7].offset,  Fields[9].offset,  Fields[10].offset, Fields[11].offset, Fields[13].offset,
    Fields[15].offset, Fields[16].offset, Fields[17].offset, Fields[18].offset, Fields[19].offset,
    Fields[21].offset, Fields[6].offset};

// What a spelling of a field counts as, besides a group of its own.
constexpr std::uint32_t NotGivenCode = 0xFFFFFFFF;
constexpr std::uint32_t NotRecognisedCode = 0xFFFFFFFE;

// The flags of a game covered.
constexpr std::uint8_t ForSaleFlag = 1;
constexpr std::uint8_t WithoutValueFlag = 2;
constexpr std::uint8_t UnreadableValueFlag = 4;
constexpr std::uint8_t DefectsFlag = 8;
constexpr std::uint8_t WithoutPhotoFlag = 16;

struct Text
{
    const std::uint8_t* bytes;
    std::size_t size;
};

// A field as FieldToText reads it: a damaged length byte taken as the capacity, the bytes
// 0x00..0x20 trimmed at both ends.
Text trimmedField(const std::uint8_t* record, std::size_t field)
{
    const FieldInfo& info = Fields[field];
    const std::uint8_t* begin = record + info.offset + 1;
    const std::uint8_t* end = begin + std::min<std::size_t>(record[info.offset], info.capacity);
    while (begin < end && *begin <= 0x20)
        ++begin;
    while (end > begin && end[-1] <= 0x20)
        --end;
    return {begin, std::size_t(end - begin)};
}

QString decoded(std::string_view bytes)
{
    return platform::fromWindows1252(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// The bands of the length of a game, by their longest length in minutes.
struct TimeBand
{
    int upToMinutes;
    const char16_t* label;
};
constexpr std::array<TimeBand, 6> TimeBands{{
    {15, u"fino a 15 minuti"},
    {30, u"da 16 a 30 minuti"},
    {60, u"da 31 a 60 minuti"},
    {90, u"da 61 a 90 minuti"},
    {120, u"da 91 minuti a 2 ore"},
    {std::numeric_limits<int>::max(), u"oltre 2 ore"},
}};

std::uint32_t timeBand(int minutes)
{
    std::uint32_t band = 0;
    while (minutes > TimeBands[band].upToMinutes)
        ++band;
    return band;
}

QString playersLabel(int group)
{
    if (group == 0)
        return QStringLiteral("1 giocatore");
    if (group == PlayerGroups - 1)
        return QStringLiteral("%1 o pi\u00F9 giocatori").arg(PlayerGroups);
    return QStringLiteral("%1 giocatori").arg(group + 1);
}

// The order of the value groups of a text field: more games first, then more value, then the key.
struct TextGroup
{
    std::string key;
    Totals totals;
    std::uint32_t bestSpelling = SpellingTable::None;
    std::int64_t bestCount = 0;
};

} // namespace

struct CollectionStatistics::FieldChart
{
    explicit FieldChart(const ChartInfo& chartInfo) : info(chartInfo) {}

    ChartInfo info;
    SpellingTable spellings;
    std::vector<Totals> spellingTotals; // per spelling
    std::vector<std::uint32_t> code;    // per spelling: its group of a text field, or what it reads as
    std::vector<std::uint32_t> ofGame;  // per game covered: its spelling

    // A text field: each group key once, with the number of its group.
    std::unordered_map<std::string, std::uint32_t> keys;
    std::vector<TextGroup> textGroups;

    // Once finished: the groups in the chart's order, and where each code went.
    std::vector<ChartGroup> groups;
    std::unordered_map<std::uint32_t, int> groupOfCode;
};

CollectionStatistics::CollectionStatistics(int currentYear) : currentYear_(currentYear)
{
    for (const ChartInfo& info : Charts) {
        if (info.grouping != Grouping::MostValuable)
            charts_.push_back(std::make_unique<FieldChart>(info));
    }
}

CollectionStatistics::~CollectionStatistics() = default;

std::uint32_t CollectionStatistics::classify(const FieldChart& chart, const std::uint8_t* text,
                                             std::size_t size) const
{
    const std::string key = groupKey(text, size);
    if (key.empty())
        return NotGivenCode;
    switch (chart.info.grouping) {
    case Grouping::Text: {
        const auto found = chart.keys.find(key);
        return found == chart.keys.end() ? NotRecognisedCode : found->second;
    }
    case Grouping::Decade:
        if (const std::optional<int> year = readYear(key, currentYear_))
            return std::uint32_t(*year / 10 * 10);
        return NotRecognisedCode;
    case Grouping::Players:
        if (const std::uint8_t players = readPlayers(key))
            return players;
        return NotRecognisedCode;
    case Grouping::PlayingTime:
        if (const std::optional<int> minutes = readPlayingMinutes(key))
            return timeBand(*minutes);
        return NotRecognisedCode;
    case Grouping::Age:
        if (const std::optional<int> age = readAge(key))
            return std::uint32_t(*age);
        return NotRecognisedCode;
    case Grouping::MostValuable:
        break;
    }
    return NotRecognisedCode;
}

void CollectionStatistics::reserve(int records)
{
    const auto games = std::size_t(std::max(records, 0));
    positions_.reserve(games);
    flags_.reserve(games);
    values_.reserve(games);
    for (const auto& chart : charts_)
        chart->ofGame.reserve(games);
}

void CollectionStatistics::add(const GameRecord& record, int position)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
    // A whole archive is read into a buffer of records back to back, which the system copies there
    // without keeping it in the processor's cache: the fields of the record two places on are
    // asked for now, so that they are there when their turn comes. Asking for memory that is not
    // there (past the buffer's end) is harmless: a prefetch never faults.
    const std::uintptr_t ahead = reinterpret_cast<std::uintptr_t>(bytes) + 2 * RecordSize;
    for (const std::size_t offset : PrefetchedOffsets)
        __builtin_prefetch(reinterpret_cast<const void*>(ahead + offset));
    const GameSummary game = addFigures(record, position);
    Totals totals;
    totals.games = 1;
    totals.forSale = game.forSale ? 1 : 0;
    totals.withoutValue = game.given ? 0 : 1;
    totals.value = game.cents;
    totals.valueForSale = game.forSale ? game.cents : 0;
    for (const auto& chart : charts_) {
        const Text text = trimmedField(bytes, chart->info.field);
        const std::uint32_t spelling = spellingOf(*chart, text.bytes, text.size);
        chart->spellingTotals[spelling].add(totals);
        chart->ofGame.push_back(spelling);
    }
}

std::uint32_t CollectionStatistics::spellingOf(FieldChart& chart, const std::uint8_t* text, std::size_t size)
{
    bool added = false;
    const std::uint32_t spelling = chart.spellings.findOrAdd(text, size, added);
    if (!added)
        return spelling;
    std::uint32_t code = NotGivenCode;
    if (chart.info.grouping == Grouping::Text) {
        std::string key = groupKey(text, size);
        if (!key.empty()) {
            const auto [found, isNew] =
                chart.keys.try_emplace(std::move(key), std::uint32_t(chart.textGroups.size()));
            if (isNew)
                chart.textGroups.push_back({found->first, {}, SpellingTable::None, 0});
            code = found->second;
        }
    } else {
        code = classify(chart, text, size);
    }
    chart.code.push_back(code);
    chart.spellingTotals.emplace_back();
    return spelling;
}

void CollectionStatistics::absorb(CollectionStatistics&& later)
{
    figures_.all.add(later.figures_.all);
    positions_.insert(positions_.end(), later.positions_.begin(), later.positions_.end());
    flags_.insert(flags_.end(), later.flags_.begin(), later.flags_.end());
    values_.insert(values_.end(), later.values_.begin(), later.values_.end());
    // Among equal values the earlier game stays first: this one's games come before.
    valuable_.insert(valuable_.end(), later.valuable_.begin(), later.valuable_.end());
    std::stable_sort(valuable_.begin(), valuable_.end(),
                     [](const Valuable& a, const Valuable& b) { return a.cents > b.cents; });
    if (valuable_.size() > std::size_t(MostValuableCount))
        valuable_.resize(std::size_t(MostValuableCount));
    // Each spelling of the later half once into this half's table, in the order it was met there.
    for (std::size_t c = 0; c < charts_.size(); ++c) {
        FieldChart& chart = *charts_[c];
        FieldChart& other = *later.charts_[c];
        std::vector<std::uint32_t> renumbered(other.spellings.size());
        for (std::uint32_t s = 0; s < other.spellings.size(); ++s) {
            const std::string_view text = other.spellings.at(s);
            renumbered[s] =
                spellingOf(chart, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
            chart.spellingTotals[renumbered[s]].add(other.spellingTotals[s]);
        }
        chart.ofGame.reserve(chart.ofGame.size() + other.ofGame.size());
        for (const std::uint32_t spelling : other.ofGame)
            chart.ofGame.push_back(renumbered[spelling]);
    }
}

CollectionStatistics::GameSummary CollectionStatistics::addFigures(const GameRecord& record, int position)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
    const Text valueText = trimmedField(bytes, MarketValueField);
    const MarketValue value = readMarketValue(valueText.bytes, valueText.size);
    const Text mark = trimmedField(bytes, ForSaleField);
    GameSummary game;
    // As the for-sale list has it: every game not marked "No".
    game.forSale = !(mark.size == 2 && mark.bytes[0] == 'N' && mark.bytes[1] == 'o');
    game.given = value.kind == MarketValueKind::Given;
    game.cents = value.cents;

    figures_.all.games += 1;
    figures_.all.forSale += game.forSale ? 1 : 0;
    figures_.all.withoutValue += game.given ? 0 : 1;
    figures_.all.value += game.cents;
    figures_.all.valueForSale += game.forSale ? game.cents : 0;

    std::uint8_t flags = 0;
    if (game.forSale)
        flags |= ForSaleFlag;
    if (!game.given)
        flags |= WithoutValueFlag;
    if (value.kind == MarketValueKind::Unreadable)
        flags |= UnreadableValueFlag;
    if (trimmedField(bytes, DefectsField).size > 0)
        flags |= DefectsFlag;
    positions_.push_back(position);
    flags_.push_back(flags);
    if (game.given)
        values_.push_back(game.cents);

    // The most valuable: the highest value first, the earlier game first among equal values.
    if (game.given &&
        (valuable_.size() < std::size_t(MostValuableCount) || game.cents > valuable_.back().cents)) {
        const auto at =
            std::upper_bound(valuable_.begin(), valuable_.end(), game.cents,
                             [](std::uint64_t cents, const Valuable& v) { return cents > v.cents; });
        const Text name = trimmedField(bytes, NameField);
        valuable_.insert(at, {game.cents, position,
                              decoded({reinterpret_cast<const char*>(name.bytes), name.size}), game.forSale});
        if (valuable_.size() > std::size_t(MostValuableCount))
            valuable_.pop_back();
    }
    return game;
}

void CollectionStatistics::finish(const PhotosPresent* photos)
{
    for (std::size_t i = 0; i < positions_.size(); ++i) {
        const int position = positions_[i];
        if (!photos || (!photos->has('A', position) && !photos->has('B', position)))
            flags_[i] |= WithoutPhotoFlag;
    }
    figures_.withValue = std::int64_t(values_.size());
    figures_.average = averageCents(figures_.all.value, values_.size());
    if (!values_.empty()) {
        const std::size_t middle = values_.size() / 2;
        std::nth_element(values_.begin(), values_.begin() + std::ptrdiff_t(middle), values_.end());
        const std::uint64_t upper = values_[middle];
        if (values_.size() % 2 == 1) {
            figures_.median = upper;
        } else {
            const std::uint64_t lower =
                *std::max_element(values_.begin(), values_.begin() + std::ptrdiff_t(middle));
            figures_.median = averageCents(WideCents(lower) + upper, 2);
        }
    }
    values_ = {};
    for (const std::uint8_t flags : flags_) {
        figures_.unreadableValue += (flags & UnreadableValueFlag) ? 1 : 0;
        figures_.withDefects += (flags & DefectsFlag) ? 1 : 0;
        figures_.withoutPhoto += (flags & WithoutPhotoFlag) ? 1 : 0;
    }

    for (const auto& chart : charts_) {
        if (chart->info.grouping == Grouping::Text)
            finishTextChart(*chart);
        else
            finishOrdinalChart(*chart);
    }
    finishMostValuable();
}

void CollectionStatistics::finishTextChart(FieldChart& chart)
{
    Totals notGiven;
    for (std::uint32_t s = 0; s < chart.code.size(); ++s) {
        const Totals& totals = chart.spellingTotals[s];
        if (chart.code[s] == NotGivenCode) {
            notGiven.add(totals);
            continue;
        }
        TextGroup& group = chart.textGroups[chart.code[s]];
        group.totals.add(totals);
        // The spelling most used names the group; the first met among equals.
        if (totals.games > group.bestCount) {
            group.bestCount = totals.games;
            group.bestSpelling = s;
        }
    }

    std::vector<std::uint32_t> order(chart.textGroups.size());
    for (std::uint32_t g = 0; g < order.size(); ++g)
        order[g] = g;
    std::sort(order.begin(), order.end(), [&chart](std::uint32_t a, std::uint32_t b) {
        const TextGroup& left = chart.textGroups[a];
        const TextGroup& right = chart.textGroups[b];
        if (left.totals.games != right.totals.games)
            return left.totals.games > right.totals.games;
        if (left.totals.value != right.totals.value)
            return left.totals.value > right.totals.value;
        return left.key < right.key;
    });
    // Merging a single group into "Altro" would only hide its name.
    const std::size_t shown =
        order.size() > std::size_t(ShownTextGroups) + 1 ? std::size_t(ShownTextGroups) : order.size();
    for (std::size_t i = 0; i < shown; ++i) {
        const TextGroup& group = chart.textGroups[order[i]];
        chart.groupOfCode[order[i]] = int(chart.groups.size());
        chart.groups.push_back(
            {decoded(chart.spellings.at(group.bestSpelling)), GroupKind::Value, group.totals});
    }
    if (shown < order.size()) {
        ChartGroup other{OtherLabel, GroupKind::Other, {}};
        for (std::size_t i = shown; i < order.size(); ++i) {
            chart.groupOfCode[order[i]] = int(chart.groups.size());
            other.totals.add(chart.textGroups[order[i]].totals);
        }
        chart.groups.push_back(other);
    }
    if (notGiven.games > 0) {
        chart.groupOfCode[NotGivenCode] = int(chart.groups.size());
        chart.groups.push_back({NotGivenLabel, GroupKind::NotGiven, notGiven});
    }
    chart.textGroups = {};
}

void CollectionStatistics::finishOrdinalChart(FieldChart& chart)
{
    std::map<std::uint32_t, Totals> byCode;
    Totals notRecognised;
    Totals notGiven;
    for (std::uint32_t s = 0; s < chart.code.size(); ++s) {
        const std::uint32_t code = chart.code[s];
        const Totals& totals = chart.spellingTotals[s];
        if (code == NotGivenCode)
            notGiven.add(totals);
        else if (code == NotRecognisedCode)
            notRecognised.add(totals);
        else if (chart.info.grouping == Grouping::Players) {
            for (int n = 0; n < PlayerGroups; ++n) {
                if (code & (1u << n))
                    byCode[std::uint32_t(n)].add(totals);
            }
        } else
            byCode[code].add(totals);
    }
    // The fixed scales show every step, games or not.
    if (chart.info.grouping == Grouping::Players) {
        for (int n = 0; n < PlayerGroups; ++n)
            byCode.try_emplace(std::uint32_t(n));
    } else if (chart.info.grouping == Grouping::PlayingTime) {
        for (std::uint32_t band = 0; band < TimeBands.size(); ++band)
            byCode.try_emplace(band);
    }
    for (const auto& [code, totals] : byCode) {
        QString label;
        switch (chart.info.grouping) {
        case Grouping::Decade:
            label = QStringLiteral("%1\u2013%2").arg(code).arg(code + 9);
            break;
        case Grouping::Players:
            label = playersLabel(int(code));
            break;
        case Grouping::PlayingTime:
            label = QString::fromUtf16(TimeBands[code].label);
            break;
        case Grouping::Age:
            label = QStringLiteral("da %1 anni").arg(code);
            break;
        case Grouping::Text:
        case Grouping::MostValuable:
            break;
        }
        chart.groupOfCode[code] = int(chart.groups.size());
        chart.groups.push_back({label, GroupKind::Value, totals});
    }
    if (notRecognised.games > 0) {
        chart.groupOfCode[NotRecognisedCode] = int(chart.groups.size());
        chart.groups.push_back({NotRecognisedLabel, GroupKind::NotRecognised, notRecognised});
    }
    if (notGiven.games > 0) {
        chart.groupOfCode[NotGivenCode] = int(chart.groups.size());
        chart.groups.push_back({NotGivenLabel, GroupKind::NotGiven, notGiven});
    }
}

void CollectionStatistics::finishMostValuable()
{
    for (const Valuable& game : valuable_) {
        Totals totals;
        totals.games = 1;
        totals.forSale = game.forSale ? 1 : 0;
        totals.value = game.cents;
        totals.valueForSale = game.forSale ? game.cents : 0;
        const QString name = game.name.isEmpty() ? QStringLiteral("(senza nome)") : game.name;
        mostValuable_.push_back(
            {name + QStringLiteral(" (scheda n. %1)").arg(game.position), GroupKind::Value, totals});
    }
}

const std::vector<ChartGroup>& CollectionStatistics::groups(ChartId chart) const
{
    if (chart == ChartId::MostValuable)
        return mostValuable_;
    return charts_[std::size_t(chart)]->groups;
}

namespace {

bool subsetHolds(Subset subset, std::uint8_t flags)
{
    switch (subset) {
    case Subset::ForSale:
        return flags & ForSaleFlag;
    case Subset::WithoutValue:
        return flags & WithoutValueFlag;
    case Subset::WithoutPhoto:
        return flags & WithoutPhotoFlag;
    case Subset::WithDefects:
        return flags & DefectsFlag;
    }
    return false;
}

} // namespace

int CollectionStatistics::groupOf(const FieldChart& chart, std::uint32_t code) const
{
    const auto found = chart.groupOfCode.find(code);
    return found == chart.groupOfCode.end() ? -1 : found->second;
}

std::vector<int> CollectionStatistics::positions(const Selection& selection) const
{
    std::vector<int> found;
    if (!selection.isGroup) {
        for (std::size_t i = 0; i < positions_.size(); ++i) {
            if (subsetHolds(selection.subset, flags_[i]))
                found.push_back(positions_[i]);
        }
        return found;
    }
    if (selection.chart == ChartId::MostValuable) {
        if (selection.group >= 0 && std::size_t(selection.group) < valuable_.size())
            found.push_back(valuable_[std::size_t(selection.group)].position);
        return found;
    }
    const FieldChart& chart = *charts_[std::size_t(selection.chart)];
    // Whether each spelling belongs, worked out once.
    std::vector<char> belongs(chart.code.size());
    for (std::size_t s = 0; s < chart.code.size(); ++s) {
        const std::uint32_t code = chart.code[s];
        if (chart.info.grouping == Grouping::Players && code != NotGivenCode && code != NotRecognisedCode)
            belongs[s] = selection.group < PlayerGroups && (code & (1u << selection.group)) != 0;
        else
            belongs[s] = groupOf(chart, code) == selection.group;
    }
    for (std::size_t i = 0; i < positions_.size(); ++i) {
        if (belongs[chart.ofGame[i]])
            found.push_back(positions_[i]);
    }
    return found;
}

bool CollectionStatistics::belongs(const GameRecord& record, const Selection& selection) const
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
    if (!selection.isGroup) {
        const Text valueText = trimmedField(bytes, MarketValueField);
        const Text mark = trimmedField(bytes, ForSaleField);
        switch (selection.subset) {
        case Subset::ForSale:
            return !(mark.size == 2 && mark.bytes[0] == 'N' && mark.bytes[1] == 'o');
        case Subset::WithoutValue:
            return readMarketValue(valueText.bytes, valueText.size).kind != MarketValueKind::Given;
        case Subset::WithDefects:
            return trimmedField(bytes, DefectsField).size > 0;
        case Subset::WithoutPhoto:
            return true;
        }
        return false;
    }
    if (selection.chart == ChartId::MostValuable) {
        if (selection.group < 0 || std::size_t(selection.group) >= valuable_.size())
            return false;
        const Text valueText = trimmedField(bytes, MarketValueField);
        return readMarketValue(valueText.bytes, valueText.size).cents ==
               valuable_[std::size_t(selection.group)].cents;
    }
    const FieldChart& chart = *charts_[std::size_t(selection.chart)];
    const Text text = trimmedField(bytes, chart.info.field);
    const std::uint32_t spelling = chart.spellings.find(text.bytes, text.size);
    const std::uint32_t code =
        spelling != SpellingTable::None ? chart.code[spelling] : classify(chart, text.bytes, text.size);
    if (chart.info.grouping == Grouping::Players && code != NotGivenCode && code != NotRecognisedCode)
        return selection.group < PlayerGroups && (code & (1u << selection.group)) != 0;
    // A spelling of a text field never met before is in no group.
    if (chart.info.grouping == Grouping::Text && spelling == SpellingTable::None && code == NotRecognisedCode)
        return false;
    return groupOf(chart, code) == selection.group;
}

QString CollectionStatistics::describe(const Selection& selection) const
{
    if (!selection.isGroup) {
        switch (selection.subset) {
        case Subset::ForSale:
            return QStringLiteral("In vendita");
        case Subset::WithoutValue:
            return QStringLiteral("Senza valore di mercato");
        case Subset::WithoutPhoto:
            return QStringLiteral("Senza foto");
        case Subset::WithDefects:
            return QStringLiteral("Con difetti annotati");
        }
        return {};
    }
    const std::vector<ChartGroup>& shown = groups(selection.chart);
    const QString label = selection.group >= 0 && std::size_t(selection.group) < shown.size()
                              ? shown[std::size_t(selection.group)].label
                              : QString();
    return QString::fromUtf16(chartInfo(selection.chart).title) + QStringLiteral(": ") + label;
}

} // namespace brivanto::statistics
