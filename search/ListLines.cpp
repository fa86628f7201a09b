#include "search/ListLines.h"

#include "platform/Windows1252.h"
#include "search/ListLine.h"

#include <algorithm>
#include <array>
#include <cstring>

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

// A line while the list is sorted: its first eight ranks as one number, which settles most
// comparisons without reading the line, and where its ranks lie.
struct SortEntry
{
    std::uint64_t head;
    std::uint32_t start;
    std::uint32_t length;
    std::uint32_t line;
};

} // namespace

void ListLines::reserve(qsizetype lines)
{
    text_.reserve(static_cast<std::size_t>(lines) * LongestListLine);
    starts_.reserve(static_cast<std::size_t>(lines) + 1);
}

void ListLines::append(const GameRecord& record)
{
    const std::size_t start = text_.size();
    text_.resize(start + LongestListLine);
    const char* end = writeListLineBytes(record, text_.data() + start);
    text_.resize(static_cast<std::size_t>(end - text_.data()));
    starts_.push_back(static_cast<std::uint32_t>(text_.size()));
}

void ListLines::append(QStringView text)
{
    const QByteArray bytes = platform::toWindows1252(text);
    text_.insert(text_.end(), bytes.begin(), bytes.end());
    starts_.push_back(static_cast<std::uint32_t>(text_.size()));
}

void ListLines::clear()
{
    text_ = {};
    starts_ = {0};
}

QString ListLines::at(qsizetype row) const
{
    const QByteArrayView line = bytes(row);
    return platform::fromWindows1252(reinterpret_cast<const std::uint8_t*>(line.data()),
                                     static_cast<std::size_t>(line.size()));
}

void ListLines::sort()
{
    // Every line is turned into its ranks once, so that a comparison is a comparison of bytes.
    const std::array<std::uint8_t, 256>& ranks = sortRanks();
    std::vector<std::uint8_t> keys(text_.size());
    std::transform(text_.begin(), text_.end(), keys.begin(),
                   [&ranks](char c) { return ranks[static_cast<std::uint8_t>(c)]; });

    const auto count = static_cast<std::size_t>(size());
    std::vector<SortEntry> entries(count);
    for (std::size_t i = 0; i < count; ++i) {
        SortEntry& entry = entries[i];
        entry.start = starts_[i];
        entry.length = starts_[i + 1] - starts_[i];
        entry.line = static_cast<std::uint32_t>(i);
        entry.head = 0;
        for (std::uint32_t k = 0; k < 8; ++k)
            entry.head = (entry.head << 8) | (k < entry.length ? keys[entry.start + k] : 0u);
    }
    const std::uint8_t* key = keys.data();
    std::sort(entries.begin(), entries.end(), [key](const SortEntry& a, const SortEntry& b) {
        if (a.head != b.head)
            return a.head < b.head;
        // Equal heads: both lines are at least eight long, or they are the same line.
        const std::uint32_t common = std::min(a.length, b.length);
        if (common > 8) {
            const int order = std::memcmp(key + a.start + 8, key + b.start + 8, common - 8);
            if (order != 0)
                return order < 0;
        }
        if (a.length != b.length)
            return a.length < b.length;
        return a.line < b.line;
    });

    // Laid out again in list order, in a block of exactly their size.
    std::vector<char> sorted(text_.size());
    std::vector<std::uint32_t> starts(starts_.size());
    char* out = sorted.data();
    for (std::size_t i = 0; i < count; ++i) {
        starts[i] = static_cast<std::uint32_t>(out - sorted.data());
        out = std::copy_n(text_.data() + entries[i].start, entries[i].length, out);
    }
    starts[count] = static_cast<std::uint32_t>(out - sorted.data());
    text_ = std::move(sorted);
    starts_ = std::move(starts);
}

} // namespace brivanto
