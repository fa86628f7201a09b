#include "search/ListFind.h"

#include "platform/Windows1252.h"
#include "search/ListLine.h"
#include "search/ListLines.h"

#include <optional>

namespace brivanto {
namespace {

char foldByte(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// The key in the code page of the lines; nothing when it holds a character the code page cannot
// hold, which no line can then contain.
std::optional<QByteArray> keyBytes(QStringView foldedKey)
{
    QByteArray bytes = platform::toWindows1252(foldedKey);
    if (platform::fromWindows1252(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                  static_cast<std::size_t>(bytes.size())) != foldedKey)
        return std::nullopt;
    return bytes;
}

} // namespace

bool containsFolded(QByteArrayView line, QByteArrayView foldedKey)
{
    const qsizetype m = foldedKey.size();
    if (m == 0)
        return false;
    const char* k = foldedKey.data();
    const char first = k[0];
    const char* l = line.data();
    for (qsizetype i = 0, last = line.size() - m; i <= last; ++i) {
        if (foldByte(l[i]) != first)
            continue;
        qsizetype j = 1;
        while (j < m && foldByte(l[i + j]) == k[j])
            ++j;
        if (j == m)
            return true;
    }
    return false;
}

int ListFind::next(const ListLines& lines, int selected, QStringView typed)
{
    const int count = static_cast<int>(lines.size());
    if (selected < 0 || selected >= count)
        selected = 0;
    const QString key = foldLetters(typed);
    const std::optional<QByteArray> bytes = keyBytes(key);
    const auto holds = [&](int row) { return bytes && containsFolded(lines.bytes(row), *bytes); };

    int found = -1;
    int start = selected;
    if (key != lastKey_) {
        start = 0;
        if (holds(0))
            found = 0;
    }
    for (int row = start; found < 0;) {
        row = (row + 1) % count;
        if (holds(row))
            found = row;
        if (row == start)
            break;
    }
    lastKey_ = key;
    return found >= 0 ? found : selected;
}

} // namespace brivanto
