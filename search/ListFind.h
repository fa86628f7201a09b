#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace brivanto {

class ListLines;

// "Trova" on a list of lines: a new key is looked for from the first line, the same key again
// from the line after the selected one, wrapping round to the top; the selected line itself is
// tested last. A line holds the key when it contains it with A-Z folded on both sides; an empty
// key is held by no line. Remembers the last key between presses.
class ListFind
{
public:
    // The line to select: `selected` is the selected line, or -1 when none is; `lines` is not
    // empty. The selection stays where it is (the first line when there was none) when no line
    // holds the key.
    int next(const ListLines& lines, int selected, QStringView typed);
    void reset() { lastKey_.clear(); }

private:
    QString lastKey_;
};

// Whether `line`, in the archive's code page, contains `foldedKey` (already A-Z folded, in the
// same code page) with A-Z folded.
bool containsFolded(QByteArrayView line, QByteArrayView foldedKey);

} // namespace brivanto
