#include "statistics/Money.h"

#include "storage/FieldText.h"

#include <QByteArray>

namespace brivanto::statistics {

MarketValue readMarketValue(const std::uint8_t* bytes, std::size_t size)
{
    if (size == 0)
        return {};
    std::uint64_t units = 0;
    std::size_t i = 0;
    // At most the field's twelve characters: no value overflows.
    for (; i < size && bytes[i] >= '0' && bytes[i] <= '9'; ++i)
        units = units * 10 + (bytes[i] - '0');
    if (i == 0 || i > 12)
        return {MarketValueKind::Unreadable, 0};
    std::uint64_t cents = units * 100;
    if (i < size) {
        if (bytes[i] != ',')
            return {MarketValueKind::Unreadable, 0};
        const std::size_t decimals = size - i - 1;
        if (decimals > 2)
            return {MarketValueKind::Unreadable, 0};
        std::uint64_t scale = 10;
        for (std::size_t d = i + 1; d < size; ++d, scale /= 10) {
            if (bytes[d] < '0' || bytes[d] > '9')
                return {MarketValueKind::Unreadable, 0};
            cents += (bytes[d] - '0') * scale;
        }
    }
    if (cents == 0)
        return {MarketValueKind::NotGiven, 0};
    return {MarketValueKind::Given, cents};
}

MarketValue readMarketValue(QStringView text)
{
    const QStringView value = trimmedView(text);
    QByteArray bytes;
    for (const QChar c : value) {
        // Only ASCII can be money; anything else makes the value unreadable.
        if (c.unicode() > 0x7F)
            return {MarketValueKind::Unreadable, 0};
        bytes.append(char(c.unicode()));
    }
    return readMarketValue(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           std::size_t(bytes.size()));
}

namespace {

// The decimal digits of `value`, with a dot between thousands when `grouped`.
QString digitsOf(WideCents value, bool grouped)
{
    char digits[48];
    int count = 0;
    do {
        digits[count++] = char('0' + int(value % 10));
        value /= 10;
    } while (value != 0);
    QString text;
    text.reserve(count + count / 3);
    for (int i = count - 1; i >= 0; --i) {
        text.append(QLatin1Char(digits[i]));
        if (grouped && i > 0 && i % 3 == 0)
            text.append(QLatin1Char('.'));
    }
    return text;
}

QString groupedDigits(WideCents value)
{
    return digitsOf(value, true);
}

QString plainDigits(WideCents value)
{
    return digitsOf(value, false);
}

QString twoDigits(int value)
{
    return QString(QLatin1Char(char('0' + value / 10))) + QLatin1Char(char('0' + value % 10));
}

} // namespace

QString moneyText(WideCents cents)
{
    return groupedDigits(cents / 100) + QLatin1Char(',') + twoDigits(int(cents % 100)) +
           QStringLiteral(" \u20AC");
}

QString plainMoneyText(WideCents cents)
{
    return plainDigits(cents / 100) + QLatin1Char(',') + twoDigits(int(cents % 100));
}

QString countText(std::int64_t count)
{
    return count < 0 ? QLatin1Char('-') + groupedDigits(WideCents(-count)) : groupedDigits(WideCents(count));
}

WideCents averageCents(WideCents total, std::uint64_t parts)
{
    if (parts == 0)
        return 0;
    return (total * 2 + parts) / (WideCents(parts) * 2);
}

std::int64_t sharePermille(WideCents part, WideCents whole)
{
    if (whole == 0)
        return 0;
    // part <= whole in every use; the product stays far below 2^128.
    return std::int64_t((part * 2000 + whole) / (whole * 2));
}

QString shareText(std::int64_t permille)
{
    return QString::number(permille / 10) + QLatin1Char(',') + QString::number(permille % 10) +
           QStringLiteral(" %");
}

} // namespace brivanto::statistics
