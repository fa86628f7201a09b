#pragma once

#include "exchange/ImportRun.h"

#include <QString>

class QIODevice;

namespace brivanto {

class ArchiveFile;
class GameArchive;

// The ID codes of the records of an open archive.
ArchiveIds readArchiveIds(ArchiveFile& archive);

// What importing the CSV file on `device` (from its start; it must be able to seek back) into an
// archive holding `ids` would do. Reads the file as a stream: memory does not grow with its size
// beyond the ID codes of the games it brings.
ImportPlan planCsvImport(QIODevice& device, const ArchiveIds& ids);

// The same for the files at these paths. An archive that cannot be read gives the archive
// access error as the plan's error. The caller shows the wait cursor meanwhile.
ImportPlan planCsvImportFile(const QString& csvPath, const QString& archivePath);

struct ImportOutcome
{
    enum class Failure
    {
        None,
        File,     // the CSV file: `message` says why (with the line where there is one)
        ReadOnly, // this user may not write the archive: `message` says so
        // The archive could not be read or written: `message` is the archive access error, or
        // says that the records appended could not be taken away again (the next opening of the
        // archive does it)
        Archive
    };
    Failure failure = Failure::None;
    QString message;
    int imported = 0;
    int firstPosition = 0; // position of the first record appended, 0 when none was
    ImportPlan plan;       // what the import did, counted as the summary counted it
};

// Appends the records of the CSV file to the archive, all or nothing, also across a crash or a
// power cut: under the archive's exclusive lock, the ID codes are read again, a journal is
// written, the records appended in large writes and made durable; on any failure the archive is
// cut back to its length before the import.
ImportOutcome importCsvFile(const QString& csvPath, const QString& archivePath);
ImportOutcome importCsvFile(const QString& csvPath, const GameArchive& archive);

} // namespace brivanto
