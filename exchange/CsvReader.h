#pragma once

#include <QByteArrayView>

#include <cstdint>
#include <string>
#include <vector>

class QIODevice;

namespace brivanto {

// Reads CSV rows as RFC 4180 writes them, one row at a time, from a device of any size: values
// in double quotes may hold the separator, doubled quotes and line breaks; rows end in CRLF, LF
// or a lone CR; a byte-order mark at the start is skipped. Memory stays bounded: a value keeps
// its first MaxKeptBytes bytes (no field of a record holds more than a tenth of that) and is
// marked as longer, and a row keeps its first MaxKeptFields values and counts the rest.
// Values come back as the file's bytes, not yet decoded.
class CsvReader
{
public:
    static constexpr std::size_t MaxKeptBytes = 4096;
    static constexpr int MaxKeptFields = 1024;

    CsvReader(QIODevice& device, char separator);

    enum class Status
    {
        Row,
        End,
        UnclosedQuote, // errorLine() is where the quote opened
        ReadFailed
    };
    Status next();

    // The row just read.
    int fieldCount() const { return fieldCount_; }
    QByteArrayView field(int index) const; // empty past the kept values
    bool fieldCut(int index) const;        // longer than MaxKeptBytes
    bool isBlank() const { return fieldCount_ == 1 && fields_[0].size == 0 && !fields_[0].cut; }
    int line() const { return rowLine_; } // where the row begins, counting from 1
    int errorLine() const { return errorLine_; }

private:
    struct Span
    {
        std::uint32_t begin;
        std::uint32_t size;
        bool cut;
    };
    bool fill();
    void startField();
    void append(const char* data, std::size_t size);
    void endField();

    QIODevice& device_;
    const char separator_;
    std::vector<char> block_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool readFailed_ = false;
    bool started_ = false;

    std::string row_;
    std::vector<Span> fields_;
    int fieldCount_ = 0;
    int line_ = 1;
    int rowLine_ = 0;
    int errorLine_ = 0;
};

} // namespace brivanto
