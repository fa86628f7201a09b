#include "exchange/CsvScan.h"

#include <QIODevice>

#include <array>
#include <cstdint>
#include <vector>

namespace brivanto {
namespace {

// The bytes the scan stops at: the quote, NUL and every byte outside ASCII.
constexpr std::array<bool, 256> Notable = [] {
    std::array<bool, 256> notable{};
    notable[0] = notable['"'] = true;
    for (int b = 0x80; b < 0x100; ++b)
        notable[b] = true;
    return notable;
}();

// Checks UTF-8 across block boundaries: how many continuation bytes are still due and the range
// the next one must fall in (which rules out overlong forms, surrogates and values past U+10FFFF).
class Utf8Check
{
public:
    bool valid() const { return valid_; }
    bool complete() const { return due_ == 0; }
    void take(std::uint8_t b)
    {
        if (due_ > 0) {
            if (b < low_ || b > high_) {
                valid_ = false;
                return;
            }
            --due_;
            low_ = 0x80;
            high_ = 0xBF;
            return;
        }
        if (b < 0x80)
            return;
        if (b >= 0xC2 && b <= 0xDF)
            due_ = 1;
        else if (b == 0xE0)
            due_ = 2, low_ = 0xA0;
        else if (b == 0xED)
            due_ = 2, high_ = 0x9F;
        else if (b >= 0xE1 && b <= 0xEF)
            due_ = 2;
        else if (b == 0xF0)
            due_ = 3, low_ = 0x90;
        else if (b == 0xF4)
            due_ = 3, high_ = 0x8F;
        else if (b >= 0xF1 && b <= 0xF3)
            due_ = 3;
        else
            valid_ = false;
    }

private:
    bool valid_ = true;
    int due_ = 0;
    std::uint8_t low_ = 0x80;
    std::uint8_t high_ = 0xBF;
};

} // namespace

CsvScan scanCsv(QIODevice& device)
{
    CsvScan scan;
    std::vector<std::uint8_t> block(1 << 20);
    Utf8Check utf8;
    bool quoted = false;
    bool first = true;
    std::int64_t total = 0;
    for (;;) {
        const qint64 n = device.read(reinterpret_cast<char*>(block.data()), qint64(block.size()));
        if (n < 0) {
            scan.readFailed = true;
            return scan;
        }
        if (n == 0)
            break;
        const std::uint8_t* p = block.data();
        const std::uint8_t* const end = p + n;
        if (first && n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
            scan.byteOrderMark = true;
            p += 3;
            total -= 3;
        }
        first = false;
        total += n;
        while (p < end) {
            if (!utf8.valid() || utf8.complete()) {
                while (p < end && !Notable[*p])
                    ++p;
                if (p == end)
                    break;
            }
            const std::uint8_t b = *p++;
            if (b == '"')
                quoted = !quoted;
            else if (b == 0 && !quoted)
                scan.binary = true;
            if (utf8.valid())
                utf8.take(b);
        }
    }
    scan.empty = total == 0;
    if (!utf8.valid() || !utf8.complete())
        scan.encoding = TextEncoding::Windows1252;
    return scan;
}

} // namespace brivanto
