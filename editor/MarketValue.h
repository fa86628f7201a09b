#pragma once

#include <QString>
#include <QStringView>

namespace brivanto {

// The market value as the editor stores it: digits, a comma, two decimals; a text that is not a
// number becomes "0,00". A negative value, which only pasted text can bring, keeps its minus sign
// in front (see the rounding in MarketValue.cpp).
QString normaliseMarketValue(QStringView text);

// True when every character is a digit 0-9 or a comma: what may enter the market-value field by
// any route (typing, paste, input method).
bool isMarketValueText(QStringView text);

} // namespace brivanto
