#include "editor/MarketValue.h"

#include "storage/FieldText.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <system_error>

// Number conversions here go through <charconv>, which ignores both QLocale's default and the C
// locale: the decimal separator of the market value is always the comma, whatever the rest of
// the program has set.

namespace brivanto {
namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads [sign] digits [ "," digits ] [ ("e"|"E") [sign] digits ], with at least one digit or the
// comma in front of the exponent, so that "," alone is 0. Nothing else may be there.
std::optional<double> readDecimal(QStringView text)
{
    std::string number; // the same number in the notation std::from_chars reads
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-'))
            number += '-';
        ++i;
    }
    std::string mantissa;
    bool comma = false;
    for (; i < n && isDigit(text[i]); ++i)
        mantissa += char(text[i].unicode());
    if (i < n && text[i] == QLatin1Char(',')) {
        comma = true;
        mantissa += '.';
        for (++i; i < n && isDigit(text[i]); ++i)
            mantissa += char(text[i].unicode());
    }
    if (mantissa.empty())
        return std::nullopt;
    // "," and "5," and ",5": from_chars wants a digit on at least one side of the point.
    if (comma && mantissa.size() == 1)
        mantissa = "0";
    number += mantissa;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        number += 'e';
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
            number += char(text[i].unicode());
            ++i;
        }
        const qsizetype firstDigit = i;
        for (; i < n && isDigit(text[i]); ++i)
            number += char(text[i].unicode());
        if (i == firstDigit)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;

    double value = 0;
    const char* end = number.data() + number.size();
    const auto [ptr, error] = std::from_chars(number.data(), end, value);
    // Out of range is an overflow to infinity or an underflow to (almost) zero: both give
    // "0,00", the one as a failure, the other as its value.
    if (error != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// r in plain decimal notation with 15 significant digits, "," as separator, trailing zeros after
// the comma removed and the comma too when nothing follows it.
QString plainDecimal(double r)
{
    if (r == 0)
        return QStringLiteral("0"); // also for -0
    char buffer[64];
    // d.dddddddddddddde±x: the 15 significant digits, correctly rounded, and the exponent.
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, r, std::chars_format::scientific, 14);
    const std::string scientific(buffer, result.ptr);
    const std::size_t e = scientific.find('e');
    const bool negative = scientific[0] == '-';
    std::string digits;
    for (std::size_t k = negative ? 1 : 0; k < e; ++k) {
        if (scientific[k] != '.')
            digits += scientific[k];
    }
    const int exponent = std::stoi(scientific.substr(e + 1));

    std::string integerPart;
    std::string fraction;
    if (exponent < 0) {
        integerPart = "0";
        fraction = std::string(std::size_t(-exponent - 1), '0') + digits;
    } else if (std::size_t(exponent) + 1 >= digits.size()) {
        integerPart = digits + std::string(std::size_t(exponent) + 1 - digits.size(), '0');
    } else {
        integerPart = digits.substr(0, std::size_t(exponent) + 1);
        fraction = digits.substr(std::size_t(exponent) + 1);
    }
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string text = (negative ? "-" : "") + integerPart;
    if (!fraction.empty())
        text += ',' + fraction;
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace

QString normaliseMarketValue(QStringView text)
{
    const QString zero = QStringLiteral("0,00");
    // Blanks and control characters around the value are ignored: a value pasted with a
    // newline or a tab reads like the typed one.
    const QString value = trimmed(text);
    if (value.isEmpty())
        return zero;
    const std::optional<double> v = readDecimal(value);
    if (!v)
        return zero;

    // Rounded to cents as trunc(v × 100 + 0.5) / 100, the product taken in the x87 extended
    // precision of long double. A value held slightly below a half (2,675 is
    // 2,67499999999999982…) therefore rounds down, where a double product would already have
    // become the half and rounded up.
    //
    // Negative values cannot be typed (the key filter refuses the minus sign) but can arrive
    // through other routes. They go through the same formula, whose truncation is towards zero:
    // -2,345 gives -2,34, a whole amount loses its last cent (-5 gives -4,99) and values from
    // -0,01 up to 0 give 0,00, never "-0,00".
    const long double cents = std::trunc(static_cast<long double>(*v) * 100.0L + 0.5L);
    const double r = static_cast<double>(cents / 100.0L);
    if (!std::isfinite(r))
        return zero;

    QString result = plainDecimal(r);
    const qsizetype comma = result.indexOf(QLatin1Char(','));
    if (comma < 0)
        result += QStringLiteral(",00");
    else if (comma == result.size() - 2)
        result += QLatin1Char('0');
    return result;
}

bool isMarketValueText(QStringView text)
{
    for (const QChar c : text) {
        if (!isDigit(c) && c != QLatin1Char(','))
            return false;
    }
    return true;
}

} // namespace brivanto
