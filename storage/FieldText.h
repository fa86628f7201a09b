#pragma once

#include "storage/GameRecord.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <optional>

namespace brivanto {

// Removes every character U+0000..U+0020 from both ends; the system's one notion of "trimmed".
QString trimmed(QStringView text);
QStringView trimmedView(QStringView text);

// Raw forms, for code that walks the record through the Fields table. `field` points at the
// length byte; `capacity` is the field's N.
void textToField(QStringView text, std::uint8_t* field, std::size_t capacity);
QString fieldToText(const std::uint8_t* field, std::size_t capacity);

// A stored field's value as fieldToText reads it, left in the archive's code page: a damaged length
// byte is taken as the capacity, and the bytes 0x00..0x20 at either end, the only ones that decode
// to blanks and control characters, are trimmed. For code that goes through every record.
inline QByteArrayView storedValue(const std::uint8_t* field, std::size_t capacity)
{
    const std::uint8_t* begin = field + 1;
    const std::uint8_t* end = begin + std::min<std::size_t>(field[0], capacity);
    while (begin < end && *begin <= 0x20)
        ++begin;
    while (end > begin && end[-1] <= 0x20)
        --end;
    return {reinterpret_cast<const char*>(begin), end - begin};
}

// Screen text -> stored field: trimmed, Windows-1252, cut to N bytes. The bytes after the value
// are zeroed so that a record never carries leftovers of another one.
template <std::size_t N> void TextToField(QStringView text, Field<N>& field)
{
    textToField(text, &field.length, N);
}

// Stored field -> screen text. A length byte above N (only a damaged file has one) is read as N.
template <std::size_t N> QString FieldToText(const Field<N>& field)
{
    return fieldToText(&field.length, N);
}

inline std::uint8_t* fieldAt(GameRecord& record, const FieldInfo& info)
{
    return reinterpret_cast<std::uint8_t*>(&record) + info.offset;
}
inline const std::uint8_t* fieldAt(const GameRecord& record, const FieldInfo& info)
{
    return reinterpret_cast<const std::uint8_t*>(&record) + info.offset;
}

// The for-sale mark: "Sì" or "No" when written; when read, anything else leaves the box alone.
inline const QString ForSaleYes = QStringLiteral(u"S\u00EC");
inline const QString ForSaleNo = QStringLiteral(u"No");
void writeForSale(GameRecord& record, bool forSale);
std::optional<bool> readForSale(const GameRecord& record);

} // namespace brivanto
