#include "storage/FieldText.h"

#include "platform/Windows1252.h"

#include <algorithm>
#include <cstring>

namespace brivanto {

QString trimmed(QStringView text)
{
    return trimmedView(text).toString();
}

QStringView trimmedView(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 0x20)
        --end;
    return text.sliced(begin, end - begin);
}

void textToField(QStringView text, std::uint8_t* field, std::size_t capacity)
{
    const QByteArray bytes = platform::toWindows1252(trimmed(text));
    const std::size_t kept = std::min(static_cast<std::size_t>(bytes.size()), capacity);
    field[0] = static_cast<std::uint8_t>(kept);
    std::memcpy(field + 1, bytes.constData(), kept);
    std::memset(field + 1 + kept, 0, capacity - kept);
}

QString fieldToText(const std::uint8_t* field, std::size_t capacity)
{
    // Bytes 0x00..0x20 decode to U+0000..U+0020 and nothing else does, so the value can be
    // trimmed before it is decoded.
    const QByteArrayView value = storedValue(field, capacity);
    return platform::fromWindows1252(reinterpret_cast<const std::uint8_t*>(value.data()),
                                     static_cast<std::size_t>(value.size()));
}

void writeForSale(GameRecord& record, bool forSale)
{
    TextToField(forSale ? ForSaleYes : ForSaleNo, record.forSale);
}

std::optional<bool> readForSale(const GameRecord& record)
{
    const QString value = FieldToText(record.forSale);
    if (value == ForSaleYes)
        return true;
    if (value == ForSaleNo)
        return false;
    return std::nullopt;
}

} // namespace brivanto
