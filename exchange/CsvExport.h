#pragma once

#include <QString>

class QIODevice;

namespace brivanto {

class ArchiveHalves;

// Where the save dialog starts: <archive name>.csv in the user's documents folder.
QString defaultCsvExportPath(const QString& archiveName);

// Writes the open archive as CSV: UTF-8 with a byte-order mark, ';' between values, CRLF at the
// end of each row, a heading row, then one row per record in archive order. Values are written
// as stored, blanks included; a value is put in double quotes (with '"' doubled) when it holds
// ';', '"' or a control character (CR and LF among them), or begins or ends with a blank, so
// that every spreadsheet program and this program's import read it back exactly. False when a
// write fails; ArchiveError when the archive cannot be read.
bool writeArchiveCsv(QIODevice& out, ArchiveHalves& archive, const QString& archiveName);

enum class CsvExportStatus
{
    Written,
    ArchiveUnreadable, // show archiveAccessErrorText()
    FileNotWritten     // the file could not be created or written; an earlier file stays whole
};

// The archive at `archivePath` into `csvPath`, written beside it and put in its place only when
// complete.
CsvExportStatus exportArchiveCsv(const QString& archivePath, const QString& csvPath);

} // namespace brivanto
