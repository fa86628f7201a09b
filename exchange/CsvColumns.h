#pragma once

#include <QString>

#include <array>

namespace brivanto {

// The columns of the program's own CSV file: the 28 fields of the record in record order (the 21
// edits under their editor labels, the for-sale mark, the three attachments and their three
// descriptions), then the file names of the record's two photos.
inline constexpr int CsvRecordColumnCount = 28;
inline constexpr int CsvPhotoColumnCount = 2;
inline constexpr int CsvColumnCount = CsvRecordColumnCount + CsvPhotoColumnCount;

// The heading of column `index`: an editor label without its final colon, or a plain name.
const std::array<QString, CsvColumnCount>& csvColumnNames();

// The separator of the program's own file: what spreadsheet programs expect where the decimal
// mark is a comma.
inline constexpr char CsvSeparator = ';';

} // namespace brivanto
