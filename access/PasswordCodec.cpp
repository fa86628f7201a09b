#include "access/PasswordCodec.h"

#include <cstdint>

namespace brivanto {
namespace {

constexpr std::uint16_t InitialKey = 3958;

// The key moves on with the scrambled byte, so decoding can follow it without knowing the text.
std::uint16_t nextKey(std::uint16_t key, std::uint8_t scrambled)
{
    return static_cast<std::uint16_t>((static_cast<std::uint32_t>(scrambled) + key) * 30817u + 27961u);
}

std::uint8_t mask(std::uint16_t key)
{
    return static_cast<std::uint8_t>(key >> 8);
}

// Only 0-9, A-F and a-f: no sign, no blank, no other script's digits.
std::optional<std::uint8_t> hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return static_cast<std::uint8_t>(u - u'0');
    if (u >= u'A' && u <= u'F')
        return static_cast<std::uint8_t>(u - u'A' + 10);
    if (u >= u'a' && u <= u'f')
        return static_cast<std::uint8_t>(u - u'a' + 10);
    return std::nullopt;
}

} // namespace

QString EncodePassword(QStringView text)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    QString hex;
    hex.reserve(text.size() * 2);
    std::uint16_t key = InitialKey;
    for (const QChar c : text) {
        const auto scrambled = static_cast<std::uint8_t>((c.unicode() & 0xFF) ^ mask(key));
        hex += QLatin1Char(Digits[scrambled >> 4]);
        hex += QLatin1Char(Digits[scrambled & 0x0F]);
        key = nextKey(key, scrambled);
    }
    return hex;
}

std::optional<QString> DecodePassword(QStringView hex)
{
    const qsizetype count = hex.size() / 2;
    QString text;
    text.reserve(count);
    std::uint16_t key = InitialKey;
    for (qsizetype i = 0; i < count; ++i) {
        const std::optional<std::uint8_t> high = hexDigit(hex[2 * i]);
        const std::optional<std::uint8_t> low = hexDigit(hex[2 * i + 1]);
        if (!high || !low)
            return std::nullopt;
        const auto scrambled = static_cast<std::uint8_t>(*high << 4 | *low);
        text += QChar(static_cast<char16_t>(scrambled ^ mask(key)));
        key = nextKey(key, scrambled);
    }
    return text;
}

} // namespace brivanto
