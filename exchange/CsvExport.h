#pragma once

#include <QString>

#include <vector>

class QIODevice;

namespace brivanto {

class ArchiveFile;

// Where the save dialog starts: <archive name>.csv in the user's documents folder.
QString defaultCsvExportPath(const QString& archiveName);

// Which photos exist for an archive's records, learnt from one listing of the photo folder.
class PhotoPresence
{
public:
    PhotoPresence() = default;
    static PhotoPresence ofArchive(const QString& archiveName);
    const QString& archiveName() const { return archiveName_; }
    // Whether the record at `position` (from 1) has its photo A, or B.
    bool exists(int position, bool slotB) const;

private:
    QString archiveName_;
    std::vector<unsigned char> slots_; // bit 0: photo A, bit 1: photo B, by position
};

// Writes the open archive as CSV: UTF-8 with a byte-order mark, ';' between values, CRLF at the
// end of each row, a heading row, then one row per record in archive order. Values are written
// as stored, blanks included; a value is put in double quotes (with '"' doubled) when it holds
// ';', '"' or a control character (CR and LF among them), or begins or ends with a blank, so
// that every spreadsheet program and this program's import read it back exactly. False when a
// write fails; ArchiveError when the archive cannot be read.
bool writeArchiveCsv(QIODevice& out, ArchiveFile& archive, const PhotoPresence& photos);

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
