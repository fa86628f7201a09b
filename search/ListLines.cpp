#include "search/ListLines.h"

#include "platform/LargePages.h"
#include "platform/Windows1252.h"
#include "search/ListLine.h"

#include <algorithm>
#include <array>

namespace brivanto {
namespace {

// Each byte's place in the list order: the order of the character it decodes to, with a-z taken
// as A-Z. The code page does not follow Unicode above 0x7F (the euro sign is 0x80 but U+20AC,
// after every accented letter), hence a table. Ranks start at 1, so that the 0 that fills out a
// short line's head sorts before any character.
std::array<std::uint8_t, 256> makeSortRanks()
{
    std::array<char16_t, 256> codes{};
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        QChar c;
        platform::decodeWindows1252(&byte, 1, &c);
        const char16_t u = c.unicode();
        codes[static_cast<std::size_t>(b)] =
            u >= u'a' && u <= u'z' ? static_cast<char16_t>(u - (u'a' - u'A')) : u;
    }
    std::array<char16_t, 256> distinct = codes;
    std::sort(distinct.begin(), distinct.end());
    const auto last = std::unique(distinct.begin(), distinct.end());
    std::array<std::uint8_t, 256> ranks{};
    for (std::size_t b = 0; b < 256; ++b)
        ranks[b] = static_cast<std::uint8_t>(
            1 + (std::lower_bound(distinct.begin(), last, codes[b]) - distinct.begin()));
    return ranks;
}

const std::array<std::uint8_t, 256>& sortRanks()
{
    static const std::array<std::uint8_t, 256> ranks = makeSortRanks();
    return ranks;
}

} // namespace

// A line while the list is sorted: sixteen of its ranks, from the depth its run of lines is
// sorted at, as two numbers, so that most comparisons are comparisons of numbers and a run of
// lines that share a long beginning is read again only every sixteen characters.
struct ListLines::SortEntry
{
    std::uint64_t high;
    std::uint64_t low;
    std::uint32_t line;
};

std::uint64_t ListLines::rankWord(std::uint32_t line, std::uint32_t depth) const
{
    const std::array<std::uint8_t, 256>& ranks = sortRanks();
    const std::uint32_t first = starts_[line] + depth;
    const std::uint32_t end = starts_[line + 1];
    if (first >= end)
        return 0;
    const auto* p = reinterpret_cast<const std::uint8_t*>(text_.data()) + first;
    if (end - first >= 8) {
        return std::uint64_t{ranks[p[0]]} << 56 | std::uint64_t{ranks[p[1]]} << 48 |
               std::uint64_t{ranks[p[2]]} << 40 | std::uint64_t{ranks[p[3]]} << 32 |
               std::uint64_t{ranks[p[4]]} << 24 | std::uint64_t{ranks[p[5]]} << 16 |
               std::uint64_t{ranks[p[6]]} << 8 | std::uint64_t{ranks[p[7]]};
    }
    std::uint64_t word = 0;
    for (std::uint32_t at = 0; at < end - first; ++at)
        word |= std::uint64_t{ranks[p[at]]} << (56 - 8 * at);
    return word;
}

// Sorts the run by the sixteen ranks at `depth`, then each run of lines equal so far by the next
// sixteen. Ranks that end in 0 hold the end of their lines: lines equal up to there are equal,
// and stay in the order they were appended in.
void ListLines::sortRun(SortEntry* first, SortEntry* last, std::uint32_t depth) const
{
    // Below the first depth the lines of a run lie anywhere in the block: where each begins and
    // its text are fetched ahead, so that the waits for memory overlap instead of adding up.
    constexpr std::ptrdiff_t Ahead = 8;
    for (SortEntry* entry = first; entry != last; ++entry) {
        if (last - entry > 2 * Ahead) {
            __builtin_prefetch(&starts_[entry[2 * Ahead].line]);
            __builtin_prefetch(text_.data() + starts_[entry[Ahead].line] + depth);
        }
        entry->high = rankWord(entry->line, depth);
        entry->low = rankWord(entry->line, depth + 8);
    }
    std::sort(first, last, [](const SortEntry& a, const SortEntry& b) {
        if (a.high != b.high)
            return a.high < b.high;
        return a.low != b.low ? a.low < b.low : a.line < b.line;
    });
    for (SortEntry* run = first; run != last;) {
        SortEntry* end = run + 1;
        while (end != last && end->high == run->high && end->low == run->low)
            ++end;
        if (end - run > 1 && (run->low & 0xFF) != 0)
            sortRun(run, end, depth + 16);
        run = end;
    }
}

void ListLines::reserve(qsizetype lines)
{
    text_.reserve(static_cast<std::size_t>(lines) * LongestListLine);
    starts_.reserve(static_cast<std::size_t>(lines) + 1);
    platform::preferLargePages(text_.data(), text_.capacity());
}

void ListLines::append(const GameRecord& record)
{
    const std::size_t start = text_.size();
    text_.resize(start + LongestListLine);
    const char* end = writeListLineBytes(record, text_.data() + start);
    text_.resize(static_cast<std::size_t>(end - text_.data()));
    starts_.push_back(static_cast<std::uint32_t>(text_.size()));
    order_.clear();
}

void ListLines::append(QStringView text)
{
    const QByteArray bytes = platform::toWindows1252(text);
    text_.insert(text_.end(), bytes.begin(), bytes.end());
    starts_.push_back(static_cast<std::uint32_t>(text_.size()));
    order_.clear();
}

void ListLines::clear()
{
    text_ = {};
    starts_ = {0};
    order_ = {};
}

QString ListLines::at(qsizetype row) const
{
    const QByteArrayView line = bytes(row);
    return platform::fromWindows1252(reinterpret_cast<const std::uint8_t*>(line.data()),
                                     static_cast<std::size_t>(line.size()));
}

void ListLines::sort()
{
    const auto count = static_cast<std::uint32_t>(size());
    std::vector<SortEntry> entries(count);
    for (std::uint32_t i = 0; i < count; ++i)
        entries[i].line = i;
    sortRun(entries.data(), entries.data() + count, 0);
    order_.resize(count);
    for (std::uint32_t i = 0; i < count; ++i)
        order_[i] = entries[i].line;
    // A search that kept few lines of a large archive leaves most of the room it reserved unused.
    if (text_.capacity() - text_.size() > text_.size() / 8)
        text_.shrink_to_fit();
}

} // namespace brivanto
