#pragma once

#include "storage/GameRecord.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
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

    qsizetype size() const { return static_cast<qsizetype>(starts_.size()) - 1; }
    bool isEmpty() const { return size() == 0; }
    QString at(qsizetype row) const;
    // The line in the archive's code page.
    QByteArrayView bytes(qsizetype row) const
    {
        const std::uint32_t line =
            order_.empty() ? static_cast<std::uint32_t>(row) : order_[static_cast<std::size_t>(row)];
        return {text_.data() + starts_[line], starts_[line + 1] - starts_[line]};
    }

private:
    std::vector<char> text_;
    // Where each line begins in text_, then where the last one ends. 32 bits reach 27 million
    // lines of the longest kind, the lines of a 90 GB archive.
    std::vector<std::uint32_t> starts_{0};
    // Once sorted, the lines in list order; the block stays in the order they were appended in.
    std::vector<std::uint32_t> order_;

    struct SortEntry;
    std::uint64_t rankWord(std::uint32_t line, std::uint32_t depth) const;
    void sortRun(SortEntry* first, SortEntry* last, std::uint32_t depth) const;
};

} // namespace brivanto
