#include "exchange/ImportText.h"

#include "platform/Windows1252.h"
#include "storage/FieldText.h"

#include <array>
#include <cstring>

namespace brivanto {
namespace {

// The byte of a character 0x80..0xFFFF in Windows-1252, '?' when it has none. Built from the
// code page's own table.
class Windows1252Encoder
{
public:
    Windows1252Encoder()
    {
        for (int b = 0x80; b < 0xA0; ++b) {
            const auto byte = static_cast<std::uint8_t>(b);
            high_[b - 0x80] = platform::fromWindows1252(&byte, 1).at(0).unicode();
        }
    }
    // 0 when the code page cannot hold the character.
    std::uint8_t byteOf(char32_t c) const
    {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
            return static_cast<std::uint8_t>(c);
        for (std::size_t i = 0; i < high_.size(); ++i) {
            if (high_[i] == c)
                return static_cast<std::uint8_t>(0x80 + i);
        }
        return 0;
    }

private:
    std::array<char16_t, 32> high_{};
};

const Windows1252Encoder& encoder()
{
    static const Windows1252Encoder e;
    return e;
}

// Decodes one UTF-8 character at p (end > p); a broken sequence yields U+FFFD for its first byte.
char32_t nextCodePoint(const std::uint8_t*& p, const std::uint8_t* end)
{
    const std::uint8_t b = *p++;
    if (b < 0x80)
        return b;
    const int due = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
    if (due < 0 || end - p < due)
        return 0xFFFD;
    char32_t c = b & (0x3F >> due);
    for (int k = 0; k < due; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (p[k] & 0x3F);
    }
    p += due;
    return c;
}

} // namespace

void storeFileValue(QByteArrayView value, bool longer, TextEncoding encoding, std::uint8_t* field,
                    std::size_t capacity, StoreCounts& counts)
{
    std::uint8_t* out = field + 1;
    std::size_t length = 0;
    const auto* p = reinterpret_cast<const std::uint8_t*>(value.data());
    const auto* const end = p + value.size();
    if (encoding == TextEncoding::Windows1252) {
        length = std::min<std::size_t>(std::size_t(value.size()), capacity);
        std::memcpy(out, p, length);
        longer |= std::size_t(value.size()) > capacity;
    } else {
        while (p < end) {
            const auto* run = p;
            while (p < end && *p < 0x80 && length + std::size_t(p - run) < capacity)
                ++p;
            std::memcpy(out + length, run, std::size_t(p - run));
            length += std::size_t(p - run);
            if (p == end)
                break;
            if (length == capacity) {
                longer = true;
                break;
            }
            const char32_t c = nextCodePoint(p, end);
            std::uint8_t byte = encoder().byteOf(c);
            if (byte == 0) {
                ++counts.unmappableCharacters;
                byte = '?';
            }
            out[length++] = byte;
        }
    }
    if (longer)
        ++counts.cutValues;
    field[0] = static_cast<std::uint8_t>(length);
    std::memset(out + length, 0, capacity - length);
}

void storeText(QStringView text, std::uint8_t* field, std::size_t capacity, StoreCounts& counts)
{
    const QStringView value = trimmedView(text);
    const QByteArray bytes = platform::toWindows1252(value);
    // Each character the code page lacks became one '?'; the value's own '?' stay.
    counts.unmappableCharacters += int(bytes.count('?') - value.count(QLatin1Char('?')));
    if (std::size_t(bytes.size()) > capacity)
        ++counts.cutValues;
    const std::size_t kept = std::min(std::size_t(bytes.size()), capacity);
    field[0] = static_cast<std::uint8_t>(kept);
    std::memcpy(field + 1, bytes.constData(), kept);
    std::memset(field + 1 + kept, 0, capacity - kept);
}

bool fitsField(QStringView text, std::size_t capacity)
{
    return std::size_t(platform::toWindows1252(trimmedView(text)).size()) <= capacity;
}

QString fileText(QByteArrayView value, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return QString::fromUtf8(value);
    return platform::fromWindows1252(reinterpret_cast<const std::uint8_t*>(value.data()),
                                     std::size_t(value.size()));
}

} // namespace brivanto
