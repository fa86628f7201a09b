#include "search/ListLines.h"

#include "platform/LargePages.h"
#include "platform/Windows1252.h"
#include "search/ListLine.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <thread>

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

// Where two lines first differ in the list order, searched from `from` on (they are known to be
// equal before it): the place, and which comes first (below 0 the left one, 0 neither: they are
// equal in the order). Lines met by a merge share long beginnings byte for byte, which are passed
// over eight bytes at a time; only where the bytes differ are their ranks compared.
struct Difference
{
    std::size_t at;
    int order;
};

Difference firstDifference(QByteArrayView left, QByteArrayView right, std::size_t from)
{
    const std::array<std::uint8_t, 256>& ranks = sortRanks();
    const auto* a = reinterpret_cast<const std::uint8_t*>(left.data());
    const auto* b = reinterpret_cast<const std::uint8_t*>(right.data());
    const auto shorter = static_cast<std::size_t>(std::min(left.size(), right.size()));
    std::size_t at = from;
    for (; at + 8 <= shorter; at += 8) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a + at, 8);
        std::memcpy(&y, b + at, 8);
        if (x != y)
            break;
    }
    for (; at < shorter; ++at) {
        if (a[at] != b[at] && ranks[a[at]] != ranks[b[at]])
            return {at, ranks[a[at]] < ranks[b[at]] ? -1 : 1};
    }
    return {shorter, left.size() < right.size() ? -1 : left.size() > right.size() ? 1 : 0};
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
    runStarts_ = {};
    shared_ = {};
}

QString ListLines::at(qsizetype row) const
{
    const QByteArrayView line = bytes(row);
    return platform::fromWindows1252(reinterpret_cast<const std::uint8_t*>(line.data()),
                                     static_cast<std::size_t>(line.size()));
}

void ListLines::sortOrder()
{
    const auto count = static_cast<std::uint32_t>(size());
    std::vector<SortEntry> entries(count);
    for (std::uint32_t i = 0; i < count; ++i)
        entries[i].line = i;
    sortRun(entries.data(), entries.data() + count, 0);
    order_.resize(count);
    for (std::uint32_t i = 0; i < count; ++i)
        order_[i] = entries[i].line;
}

void ListLines::sort()
{
    sortOrder();
    runStarts_ = {};
    shared_ = {};
    // A search that kept few lines of a large archive leaves most of the room it reserved unused.
    if (text_.capacity() - text_.size() > text_.size() / 8)
        text_.shrink_to_fit();
}

void ListLines::appendSortedRun(ListLines lines)
{
    lines.sortOrder();
    const std::size_t first = static_cast<std::size_t>(size());
    runStarts_.push_back(static_cast<std::uint32_t>(first));
    shared_.resize(first + static_cast<std::size_t>(lines.size()));
    for (qsizetype row = 0; row < lines.size(); ++row) {
        const QByteArrayView line = lines.bytes(row);
        text_.insert(text_.end(), line.begin(), line.end());
        starts_.push_back(static_cast<std::uint32_t>(text_.size()));
        shared_[first + static_cast<std::size_t>(row)] =
            row == 0 ? 0 : static_cast<std::uint32_t>(firstDifference(lines.bytes(row - 1), line, 0).at);
    }
}

void ListLines::appendRuns(ListLines other)
{
    const auto firstLine = static_cast<std::uint32_t>(size());
    const auto firstByte = static_cast<std::uint32_t>(text_.size());
    for (const std::uint32_t run : other.runStarts_)
        runStarts_.push_back(firstLine + run);
    text_.insert(text_.end(), other.text_.begin(), other.text_.end());
    for (auto start = other.starts_.begin() + 1; start != other.starts_.end(); ++start)
        starts_.push_back(firstByte + *start);
    shared_.insert(shared_.end(), other.shared_.begin(), other.shared_.end());
    order_.clear();
}

// A k-way merge of runs through a tree of losers that knows how long a beginning each line
// shares with the line that went out last (after Bingmann and Sanders' LCP-aware merging). Each
// node holds the run whose head lost the match played there and how much of it agrees with the
// head that won. When the winner's run moves on to its next line, the matches on that run's way
// to the root are played again, and most are decided by those lengths alone: of two lines that
// both come after the last one out, the one that agrees with it longer comes first. Only lines
// that agree with it equally long are compared, and only from there on.
void ListLines::mergeRange(std::vector<std::uint32_t> next, const std::vector<std::uint32_t>& end,
                           std::uint32_t* out) const
{
    std::size_t leaves = 1;
    while (leaves < next.size())
        leaves *= 2;
    next.resize(leaves, 0);
    const auto exhausted = [&](std::size_t run) { return run >= end.size() || next[run] >= end[run]; };
    std::vector<std::size_t> losers(leaves);
    std::vector<std::size_t> agreeing(leaves); // how much of each node's loser agrees with its winner

    // The first matches compare whole lines.
    const auto play = [&](auto& self, std::size_t node) -> std::size_t {
        if (node >= leaves)
            return node - leaves;
        std::size_t winner = self(self, 2 * node);
        std::size_t loser = self(self, 2 * node + 1);
        agreeing[node] = 0;
        if (exhausted(winner) || exhausted(loser)) {
            if (exhausted(winner))
                std::swap(winner, loser);
        } else {
            const Difference difference = firstDifference(lineAt(next[winner]), lineAt(next[loser]), 0);
            if (difference.order > 0)
                std::swap(winner, loser);
            agreeing[node] = difference.at;
        }
        losers[node] = loser;
        return winner;
    };
    std::size_t winner = play(play, 1);

    while (!exhausted(winner)) {
        *out++ = next[winner];
        // The winner's next line, and how much of it agrees with the line just gone out.
        std::size_t candidate = winner;
        const std::uint32_t line = ++next[candidate];
        std::size_t agrees = exhausted(candidate) ? 0 : shared_[line];
        for (std::size_t node = (candidate + leaves) / 2; node >= 1; node /= 2) {
            const std::size_t loser = losers[node];
            if (exhausted(loser))
                continue;
            bool loserFirst;
            std::size_t agreeingAfter = agreeing[node];
            if (exhausted(candidate)) {
                loserFirst = true;
            } else if (agrees != agreeing[node]) {
                loserFirst = agreeing[node] > agrees;
                agreeingAfter = std::min(agrees, agreeing[node]);
            } else {
                const Difference difference =
                    firstDifference(lineAt(next[candidate]), lineAt(next[loser]), agrees);
                loserFirst = difference.order > 0 || (difference.order == 0 && loser < candidate);
                agreeingAfter = difference.at;
            }
            if (loserFirst) {
                losers[node] = candidate;
                const std::size_t loserAgrees = agreeing[node];
                agreeing[node] = agreeingAfter;
                candidate = loser;
                agrees = loserAgrees;
            } else {
                agreeing[node] = agreeingAfter;
            }
        }
        winner = candidate;
    }
}

// The runs are cut in two at the middle line of the longest one, found in every other run by
// halving: lines equal to it go to the first half from the runs before its own and to the second
// half from the runs after. The two halves are merged at once, one on a second thread.
void ListLines::mergeRuns()
{
    const std::size_t runs = runStarts_.size();
    if (runs > 1) {
        std::vector<std::uint32_t> begin(runStarts_.begin(), runStarts_.end());
        std::vector<std::uint32_t> end(runs);
        for (std::size_t run = 0; run < runs; ++run)
            end[run] = run + 1 < runs ? runStarts_[run + 1] : static_cast<std::uint32_t>(size());
        std::size_t longest = 0;
        for (std::size_t run = 1; run < runs; ++run) {
            if (end[run] - begin[run] > end[longest] - begin[longest])
                longest = run;
        }
        const std::uint32_t middle = begin[longest] + (end[longest] - begin[longest]) / 2;
        const QByteArrayView cut = lineAt(middle);
        std::vector<std::uint32_t> split(runs);
        std::size_t firstHalf = 0;
        for (std::size_t run = 0; run < runs; ++run) {
            if (run == longest) {
                split[run] = middle;
            } else {
                std::uint32_t low = begin[run];
                std::uint32_t high = end[run];
                while (low < high) {
                    const std::uint32_t probe = low + (high - low) / 2;
                    const int order = firstDifference(lineAt(probe), cut, 0).order;
                    if (order < 0 || (order == 0 && run < longest))
                        low = probe + 1;
                    else
                        high = probe;
                }
                split[run] = low;
            }
            firstHalf += split[run] - begin[run];
        }
        std::vector<std::uint32_t> order(static_cast<std::size_t>(size()));
        std::thread second([&] { mergeRange(split, end, order.data() + firstHalf); });
        mergeRange(begin, split, order.data());
        second.join();
        order_ = std::move(order);
    }
    runStarts_ = {};
    shared_ = {};
}

} // namespace brivanto
