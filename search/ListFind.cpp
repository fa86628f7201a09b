#include "search/ListFind.h"

#include "search/ListLine.h"

namespace brivanto {

bool containsFolded(QStringView line, QStringView foldedKey)
{
    const qsizetype m = foldedKey.size();
    if (m == 0)
        return false;
    const QChar* k = foldedKey.data();
    const char16_t first = k[0].unicode();
    const QChar* l = line.data();
    for (qsizetype i = 0, last = line.size() - m; i <= last; ++i) {
        if (foldLetter(l[i].unicode()) != first)
            continue;
        qsizetype j = 1;
        while (j < m && foldLetter(l[i + j].unicode()) == k[j].unicode())
            ++j;
        if (j == m)
            return true;
    }
    return false;
}

int ListFind::next(const QStringList& lines, int selected, QStringView typed)
{
    const int count = static_cast<int>(lines.size());
    if (selected < 0 || selected >= count)
        selected = 0;
    const QString key = foldLetters(typed);
    const auto holds = [&](int row) { return containsFolded(lines[row], key); };

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
