#pragma once

#include "storage/ChangeSteps.h"

#include <QByteArrayView>
#include <QString>

namespace brivanto {

class ArchiveFile;

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
    // Deleted, but the photos of the later records could not all be moved (or the deleted ones
    // disposed of): the journal stays, and the next opening of the archive finishes the work.
    bool unfinished = false;
    // Where the deleted record's photos went.
    int photosInTrash = 0;
    int photosKept = 0; // in Foto_Gioco/Eliminate: the desktop's trash could not take them
};

// The files of one archive that a deletion changes.
struct DeletionFiles
{
    QString archive;     // the archive file itself, symbolic links followed
    QString photoFolder; // absolute
    QString archiveName; // what the photo names start with
};

// Removes record `position` (1-based) from `archive`, which the caller holds open with its
// exclusive lock after finishing any interrupted change: every later record moves up one place
// together with its photo files, and the deleted record's photos go to the desktop's trash from
// their own name in the photo folder. Attached files are not touched. `expectedRecord` holds the
// RecordSize bytes the user saw when confirming.
//
// Survives a crash at any moment: recoverDeletion either completes the deletion or undoes it, so
// every record keeps its own photos and none is lost or doubled. Throws ArchiveError when the
// archive, its folder or the photo folder cannot be written or listed, or the disk fills up,
// before the deletion is committed; the archive and the photos are then as they were. A failure
// after the commit is no throw: the result says Deleted and unfinished.
DeletionResult deleteRecordHeld(ArchiveFile& archive, const DeletionFiles& files, int position,
                                QByteArrayView expectedRecord, ChangeSteps* steps);

// Whether a deletion of this archive was interrupted (one stat: its journal exists).
bool interruptedDeletionPending(const QString& archivePath);

// Completes or undoes an interrupted deletion, deciding from what every workstation sees alike:
// the journal's plan, whether the new archive file is still beside the archive, and the archive's
// length. The caller holds the archive's exclusive lock. Doing it again after a crash in the
// middle ends in the same place. Throws ArchiveError when the files cannot be put right; the
// journal then stays for the next try.
void recoverDeletion(const QString& archivePath, ChangeSteps* steps);

} // namespace brivanto
