#pragma once

#include "storage/GameRecord.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace brivanto {

// The lines of a result list, held as the archive holds its text: one byte of its code page a
// character, every line in one block. A list of a whole archive then costs about its characters,
// with no allocation per line, and sorting it compares bytes; a line becomes a QString only when
// it is asked for.
class ListLines
{
public:
    // Room for `lines` lines of the longest kind, so that a scan does not grow the block.
    void reserve(qsizetype lines);
    // The list line of `record`.
    void append(const GameRecord& record);
    // A line given as text; a character the code page cannot hold becomes '?'.
    void append(QStringView text);
    void clear();

    // Puts the lines in list order (see listLineLess); lines equal in that order keep the order
    // they were appended in. A line appended afterwards brings back the appended order.
    void sort();

    // A list built in runs (ListBuilder): each run is a list sorted on its own and added in list
    // order; the runs are then merged. Lines equal in the order keep the order of their runs,
    // and within a run the order they were appended in, so the list ends as sort() would leave it.
    // Sorts `lines` and adds them, in list order, after the runs added before.
    void appendSortedRun(ListLines lines);
    // Adds the runs of `other` after the runs added before, as they are.
    void appendRuns(ListLines other);
    // Puts the runs' lines in list order.
    void mergeRuns();

    qsizetype size() const { return static_cast<qsizetype>(starts_.size()) - 1; }
    bool isEmpty() const { return size() == 0; }
    QString at(qsizetype row) const;
    // The line in the archive's code page.
    QByteArrayView bytes(qsizetype row) const
    {
        return lineAt(order_.empty() ? static_cast<std::uint32_t>(row)
                                     : order_[static_cast<std::size_t>(row)]);
    }

private:
    // Room made for a line is not filled first: the line is written over it at once.
    template <class T> struct UnfilledAllocator : std::allocator<T>
    {
        template <class U> struct rebind
        {
            using other = UnfilledAllocator<U>;
        };
        UnfilledAllocator() = default;
        template <class U> UnfilledAllocator(const UnfilledAllocator<U>&) noexcept {}
        template <class U> void construct(U* at) noexcept { ::new (static_cast<void*>(at)) U; }
        template <class U, class... Args> void construct(U* at, Args&&... args)
        {
            ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
        }
    };
    std::vector<char, UnfilledAllocator<char>> text_;
    // Where each line begins in text_, then where the last one ends. 32 bits reach 27 million
    // lines of the longest kind, the lines of a 90 GB archive.
    std::vector<std::uint32_t> starts_{0};
    // Once sorted, the lines in list order; the block stays in the order they were appended in.
    std::vector<std::uint32_t> order_;
    // While a list is built in runs: where each run begins, and how many characters each line has
    // in common, in the order, with the line before it in its run.
    std::vector<std::uint32_t> runStarts_;
    std::vector<std::uint32_t> shared_;

    struct SortEntry;
    std::uint64_t rankWord(std::uint32_t line, std::uint32_t depth) const;
    void sortRun(SortEntry* first, SortEntry* last, std::uint32_t depth) const;
    void sortOrder();
    // The line appended as `line`th, whatever the order.
    QByteArrayView lineAt(std::uint32_t line) const
    {
        return {text_.data() + starts_[line], starts_[line + 1] - starts_[line]};
    }
    void mergeRange(std::vector<std::uint32_t> next, const std::vector<std::uint32_t>& end,
                    std::uint32_t* out) const;
};

} // namespace brivanto
