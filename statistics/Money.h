#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace brivanto::statistics {

// Sums of market values, in cents, exactly: 128 bits hold the values of every record an archive
// can have (2^31 records of 12 digits each), so no sum ever overflows or rounds.
__extension__ typedef unsigned __int128 WideCents;

// One market value as the editor stores it, in cents. The editor writes digits, a comma and two
// decimals ("1234,50"); a value of older cards may have one decimal or none ("12,5", "12"), which
// reads the same. Anything else (a dot, a sign, letters, more than two decimals) is not money:
// it is never guessed at.
enum class MarketValueKind
{
    Given,     // a value above zero
    NotGiven,  // empty, or zero: the "0,00" a new card starts with
    Unreadable // not money (listed, never guessed)
};
struct MarketValue
{
    MarketValueKind kind = MarketValueKind::NotGiven;
    std::uint64_t cents = 0;
};
// `bytes`, `size`: the stored text of the field, trimmed.
MarketValue readMarketValue(const std::uint8_t* bytes, std::size_t size);
MarketValue readMarketValue(QStringView text);

// "12.345,50 €": a dot between thousands, a comma and two decimals, a blank and the euro sign.
QString moneyText(WideCents cents);
// "12345,50": as a spreadsheet reads a number where the comma is the decimal mark.
QString plainMoneyText(WideCents cents);
// "12.345": a count with a dot between thousands.
QString countText(std::int64_t count);

// `total` / `parts`, rounded to the cent, halves up; 0 for no parts.
WideCents averageCents(WideCents total, std::uint64_t parts);

// The share `part` / `whole` in tenths of a percent, rounded, halves up; 0 for an empty whole.
std::int64_t sharePermille(WideCents part, WideCents whole);
// "25,0 %".
QString shareText(std::int64_t permille);

} // namespace brivanto::statistics
