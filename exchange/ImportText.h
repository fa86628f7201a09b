#pragma once

#include "exchange/CsvScan.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>

namespace brivanto {

// What storing imported values costs: values cut at their field's capacity and characters that
// Windows-1252 cannot hold (each stored as '?').
struct StoreCounts
{
    int cutValues = 0;
    int unmappableCharacters = 0;
};

// A value of the file (UTF-8 or Windows-1252 bytes) stored exactly, blanks and control
// characters included, into the field at `field` (its length byte) of capacity N. The bytes
// after the value are zeroed. `longer` says the file's value went on past these bytes.
void storeFileValue(QByteArrayView value, bool longer, TextEncoding encoding, std::uint8_t* field,
                    std::size_t capacity, StoreCounts& counts);

// A text made by the import stored as the editor stores what is typed: trimmed, Windows-1252, cut
// at the capacity, the bytes after it zeroed.
void storeText(QStringView text, std::uint8_t* field, std::size_t capacity, StoreCounts& counts);

// Whether storeText keeps the whole of `text` in a field of this capacity.
bool fitsField(QStringView text, std::size_t capacity);

// A value of the file as text.
QString fileText(QByteArrayView value, TextEncoding encoding);

} // namespace brivanto
