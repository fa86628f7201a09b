#pragma once

class QIODevice;

namespace brivanto {

enum class TextEncoding
{
    Utf8,
    Windows1252
};

// What one quick pass over a whole file tells before it is read as CSV.
struct CsvScan
{
    bool readFailed = false;
    bool empty = false;  // nothing but perhaps a byte-order mark
    bool binary = false; // a NUL byte outside quoted values: no text file has one
    bool byteOrderMark = false;
    // A file that is not valid UTF-8 is read as Windows-1252, the code page spreadsheet programs
    // on Windows write.
    TextEncoding encoding = TextEncoding::Utf8;
};

// Reads the device from where it stands to its end in large blocks; memory stays the same
// whatever the file's size.
CsvScan scanCsv(QIODevice& device);

} // namespace brivanto
