#include "platform/Windows1252.h"

#include <array>

namespace brivanto::platform {
namespace {

// Bytes 0x80..0x9F. The five holes of the code page decode to the C1 control of the same code,
// as Windows does, and encode back to themselves.
constexpr std::array<char16_t, 32> HighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char encodeOne(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

QString fromWindows1252(const std::uint8_t* bytes, std::size_t count)
{
    QString text(static_cast<qsizetype>(count), Qt::Uninitialized);
    decodeWindows1252(bytes, count, text.data());
    return text;
}

QChar* decodeWindows1252(const std::uint8_t* bytes, std::size_t count, QChar* out)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t b = bytes[i];
        out[i] = (b >= 0x80 && b < 0xA0) ? QChar(HighControls[b - 0x80]) : QChar(char16_t(b));
    }
    return out + count;
}

QByteArray toWindows1252(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            bytes.append('?');
        } else {
            bytes.append(encodeOne(c.unicode()));
        }
    }
    return bytes;
}

} // namespace brivanto::platform
