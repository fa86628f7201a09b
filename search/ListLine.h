#pragma once

#include "storage/GameRecord.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace brivanto {

// The fixed-column line that stands for one game record in the search and for-sale lists and in
// the printed summary: title, code, genre, publisher and year, each cut or filled to its column,
// then the market value as stored.
QString listLine(const GameRecord& record);
// Five columns, five labels and a market value of at most 12 characters.
constexpr std::size_t LongestListLine = 145 + 12;
// The line as the bytes of the archive's code page, one byte a character, written at `out`, which
// has room for LongestListLine bytes (the bytes past the line's end are left undefined); returns
// the end.
char* writeListLineBytes(const GameRecord& record, char* out);
// Whether the list line of `record`, trimmed, can be `line` (trimmed, in the archive's code
// page), judged from the first column alone: a quick refusal for a scan that looks for one line,
// which then builds the whole line of the few records it cannot refuse.
bool listLineCanBe(const GameRecord& record, QByteArrayView line);
// The same line written into `line`, reusing its storage: a scan of a whole archive builds one
// line per record without allocating.
void writeListLine(const GameRecord& record, QString& line);

// The system's case folding: only the letters A-Z become a-z; accented letters stay as they are.
inline char16_t foldLetter(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}
QString foldLetters(QStringView text);

// The list order: character by character, a-z taken as A-Z and every other character by its
// code; a line that begins a longer one comes first. ListLines::sort puts whole lists in this
// order.
bool listLineLess(QStringView left, QStringView right);

} // namespace brivanto
