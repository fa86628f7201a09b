#include "exchange/CsvReader.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace brivanto {

CsvReader::CsvReader(QIODevice& device, char separator)
    : device_(device), separator_(separator), block_(1 << 20)
{
    fields_.reserve(64);
}

bool CsvReader::fill()
{
    if (pos_ < end_)
        return true;
    if (readFailed_)
        return false;
    const qint64 n = device_.read(block_.data(), qint64(block_.size()));
    if (n < 0)
        readFailed_ = true;
    pos_ = 0;
    end_ = n > 0 ? std::size_t(n) : 0;
    if (!started_ && end_ > 0) {
        started_ = true;
        if (end_ >= 3 && std::memcmp(block_.data(), "\xEF\xBB\xBF", 3) == 0)
            pos_ = 3;
        return fill();
    }
    return end_ > 0;
}

QByteArrayView CsvReader::field(int index) const
{
    if (index < 0 || index >= int(fields_.size()))
        return {};
    return QByteArrayView(row_.data() + fields_[index].begin, fields_[index].size);
}

bool CsvReader::fieldCut(int index) const
{
    return index >= 0 && index < int(fields_.size()) && fields_[index].cut;
}

void CsvReader::startField()
{
    ++fieldCount_;
    if (fieldCount_ <= MaxKeptFields)
        fields_.push_back({std::uint32_t(row_.size()), 0, false});
}

void CsvReader::append(const char* data, std::size_t size)
{
    if (fieldCount_ > MaxKeptFields)
        return;
    Span& span = fields_.back();
    const std::size_t room = MaxKeptBytes - span.size;
    if (size > room) {
        span.cut = true;
        size = room;
    }
    row_.append(data, size);
    span.size += std::uint32_t(size);
}

CsvReader::Status CsvReader::next()
{
    row_.clear();
    fields_.clear();
    fieldCount_ = 0;
    if (!fill())
        return readFailed_ ? Status::ReadFailed : Status::End;
    rowLine_ = line_;
    const char sep = separator_;
    for (;;) {
        startField();
        if (!fill())
            return readFailed_ ? Status::ReadFailed : Status::Row; // the row ended in a separator
        if (block_[pos_] == '"') {
            const int quoteLine = line_;
            ++pos_;
            for (;;) {
                if (!fill()) {
                    errorLine_ = quoteLine;
                    return readFailed_ ? Status::ReadFailed : Status::UnclosedQuote;
                }
                const char* begin = block_.data() + pos_;
                const char* stop = begin;
                const char* const limit = block_.data() + end_;
                while (stop < limit && *stop != '"') {
                    if (*stop == '\n')
                        ++line_;
                    ++stop;
                }
                append(begin, std::size_t(stop - begin));
                pos_ += std::size_t(stop - begin);
                if (stop == limit)
                    continue;
                ++pos_; // the quote
                if (fill() && block_[pos_] == '"') {
                    append("\"", 1);
                    ++pos_;
                    continue;
                }
                break;
            }
        }
        // An unquoted value, or what follows a closing quote before the separator (kept, as
        // spreadsheet programs keep it).
        for (;;) {
            if (!fill())
                return readFailed_ ? Status::ReadFailed : Status::Row;
            const char* begin = block_.data() + pos_;
            const char* stop = begin;
            const char* const limit = block_.data() + end_;
            while (stop < limit && *stop != sep && *stop != '\r' && *stop != '\n')
                ++stop;
            append(begin, std::size_t(stop - begin));
            pos_ += std::size_t(stop - begin);
            if (stop < limit)
                break;
        }
        const char c = block_[pos_++];
        if (c == sep)
            continue;
        ++line_;
        if (c == '\r' && fill() && block_[pos_] == '\n')
            ++pos_;
        return readFailed_ ? Status::ReadFailed : Status::Row;
    }
}

} // namespace brivanto
