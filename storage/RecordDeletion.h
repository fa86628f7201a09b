#pragma once

#include <QByteArrayView>
#include <QString>

namespace brivanto {

enum class DeletionOutcome
{
    Deleted,
    // The record at the position is no longer the one the user confirmed: another workstation
    // changed or moved it, or the archive no longer reaches that far. Nothing was changed.
    RecordChanged,
    // The archive's length is not a whole number of records; the deletion refuses to shorten it.
    NotWholeRecords
};

struct DeletionResult
{
    DeletionOutcome outcome = DeletionOutcome::RecordChanged;
    int recordCount = 0; // records in the archive afterwards
    // Where the deleted record's photos went.
    int photosInTrash = 0;
    int photosKept = 0; // in Foto_Gioco/Eliminate: the desktop's trash could not take them
};

// Removes record `position` (1-based) from the archive: every later record moves up one place
// together with its two photo files in `photoFolder` (named after `archiveName`, see
// photoFileName), and the deleted record's photos go to the desktop's trash. Attached files are
// not touched. `expectedRecord` holds the RecordSize bytes the user saw when confirming.
//
// Holds the archive's exclusive lock throughout. Survives a crash at any moment: the next opening
// of the archive (ArchiveFile::Open) either completes the deletion or undoes it, so every record
// keeps its own photos and none is lost or doubled. Throws ArchiveError when the archive, its
// folder or the photo folder cannot be written, or the disk fills up; the archive and the photos
// are then as they were.
DeletionResult deleteRecord(const QString& archivePath, const QString& photoFolder,
                            const QString& archiveName, int position, QByteArrayView expectedRecord);

// Whether a deletion of this archive was interrupted (one stat: its journal exists).
bool interruptedDeletionPending(const QString& archivePath);

// Completes or undoes an interrupted deletion. The caller holds the archive's exclusive lock.
// Throws ArchiveError when the files cannot be put right; the journal then stays for the next try.
void finishInterruptedDeletion(const QString& archivePath);

// Tests: the process ends with _exit(DeletionStoppedExitCode) at checkpoint `checkpoint` (0 is
// the first) of the next deletion or recovery, as a crash would stop it; -1 never stops.
inline constexpr int DeletionStoppedExitCode = 42;
void setDeletionStopForTesting(int checkpoint);
// The checkpoints the last deletion or recovery passed.
int deletionCheckpointsPassed();

} // namespace brivanto
