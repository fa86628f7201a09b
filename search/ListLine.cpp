#include "search/ListLine.h"

#include "platform/Windows1252.h"
#include "storage/FieldText.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace brivanto {
namespace {

struct Column
{
    std::size_t offset;   // of the field in the record
    std::size_t capacity; // of the field
    qsizetype width;      // of the column; 0: the value as it is
    const char* before;   // in Windows-1252
};

// Left to right: the list line's labels are its own, "Editore" standing for the publisher.
constexpr std::array<Column, 6> Columns{{
    {offsetof(GameRecord, name), decltype(GameRecord::name)::capacity, 30, ""},
    {offsetof(GameRecord, idCode), decltype(GameRecord::idCode)::capacity, 24, "  ID: "},
    {offsetof(GameRecord, genre), decltype(GameRecord::genre)::capacity, 24, "  Genere: "},
    {offsetof(GameRecord, publisher), decltype(GameRecord::publisher)::capacity, 24, "  Editore: "},
    {offsetof(GameRecord, year), decltype(GameRecord::year)::capacity, 4, "  Anno: "},
    {offsetof(GameRecord, marketValue), decltype(GameRecord::marketValue)::capacity, 0, "  \x80 "},
}};

} // namespace

namespace {

// The value of a column as the line holds it: the stored value, cut to the column. One byte is one
// character.
QByteArrayView columnValue(const std::uint8_t* record, const Column& column)
{
    const QByteArrayView value = storedValue(record + column.offset, column.capacity);
    return column.width > 0 ? value.first(std::min(value.size(), column.width)) : value;
}

constexpr std::size_t labelLength(const char* label)
{
    std::size_t length = 0;
    while (label[length])
        ++length;
    return length;
}

// Where each column's value begins in the line, and where the market value begins.
constexpr std::array<std::size_t, Columns.size()> valueStarts()
{
    std::array<std::size_t, Columns.size()> starts{};
    std::size_t at = 0;
    for (std::size_t c = 0; c < Columns.size(); ++c) {
        at += labelLength(Columns[c].before);
        starts[c] = at;
        at += static_cast<std::size_t>(Columns[c].width);
    }
    return starts;
}
constexpr std::array<std::size_t, Columns.size()> ValueAt = valueStarts();
static_assert(ValueAt.back() + decltype(GameRecord::marketValue)::capacity == LongestListLine);

// Writes a column with copies of sizes known here, which the compiler turns into a few moves: the
// label, then the column's width of bytes from the value on (the record goes on after every field
// for at least that far), then blanks from the value's end over the rest of the column. The blanks
// reach into the next column, which is written afterwards.
template <std::size_t C> char* writeColumn(const std::uint8_t* record, char* out)
{
    constexpr Column column = Columns[C];
    constexpr std::size_t label = labelLength(column.before);
    constexpr std::size_t width = column.width > 0 ? static_cast<std::size_t>(column.width) : column.capacity;
    static_assert(column.offset + 1 + column.capacity + width <= RecordSize);
    std::memcpy(out + ValueAt[C] - label, column.before, label);
    const QByteArrayView value = columnValue(record, column);
    std::memcpy(out + ValueAt[C], value.data(), width);
    if constexpr (column.width > 0) {
        static constexpr std::array<char, width> Blanks = [] {
            std::array<char, width> blanks{};
            blanks.fill(' ');
            return blanks;
        }();
        std::memcpy(out + ValueAt[C] + value.size(), Blanks.data(), width);
        return out;
    } else {
        return out + ValueAt[C] + value.size();
    }
}

template <std::size_t... C>
char* writeColumns(const std::uint8_t* record, char* out, std::index_sequence<C...>)
{
    char* end = nullptr;
    ((end = writeColumn<C>(record, out)), ...);
    return end;
}

} // namespace

// The room of LongestListLine bytes may be written past the line's end.
char* writeListLineBytes(const GameRecord& record, char* out)
{
    return writeColumns(reinterpret_cast<const std::uint8_t*>(&record), out,
                        std::make_index_sequence<Columns.size()>());
}

bool listLineCanBe(const GameRecord& record, QByteArrayView line)
{
    // The title, trimmed, begins the trimmed line (an empty one begins every line).
    return line.startsWith(columnValue(reinterpret_cast<const std::uint8_t*>(&record), Columns.front()));
}

void writeListLine(const GameRecord& record, QString& line)
{
    // Written in place: a scan of a whole archive builds a line per record.
    std::array<char, LongestListLine> bytes;
    const char* end = writeListLineBytes(record, bytes.data());
    const auto length = static_cast<std::size_t>(end - bytes.data());
    line.resize(static_cast<qsizetype>(length));
    platform::decodeWindows1252(reinterpret_cast<const std::uint8_t*>(bytes.data()), length, line.data());
}

QString listLine(const GameRecord& record)
{
    QString line;
    writeListLine(record, line);
    return QString(line.constData(), line.size()); // no room kept beyond the line
}

QString foldLetters(QStringView text)
{
    QString folded(text.size(), Qt::Uninitialized);
    QChar* out = folded.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = QChar(foldLetter(text[i].unicode()));
    return folded;
}

bool listLineLess(QStringView left, QStringView right)
{
    // The letters are taken as capitals, so '[', '_' and the like come after them.
    const auto upper = [](char16_t c) {
        return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
    };
    const qsizetype common = std::min(left.size(), right.size());
    const QChar* l = left.data();
    const QChar* r = right.data();
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t a = upper(l[i].unicode());
        const char16_t b = upper(r[i].unicode());
        if (a != b)
            return a < b;
    }
    return left.size() < right.size();
}

} // namespace brivanto
