#pragma once

#include "storage/ArchiveFile.h"
#include "storage/ArchiveImport.h"
#include "storage/ChangeSteps.h"
#include "storage/PhotoNames.h"
#include "storage/RecordDeletion.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>

namespace brivanto {

// The bytes of a record as the archive holds them.
inline QByteArrayView recordView(const GameRecord& record)
{
    return {reinterpret_cast<const char*>(&record), qsizetype(RecordSize)};
}

// The folder of the photos, beside the archives.
inline constexpr QLatin1StringView PhotoFolderName{"Foto_Gioco"};

// What a save writes of the two photo files: nothing where the file already holds the picture.
struct PhotoBytes
{
    std::optional<QByteArray> a;
    std::optional<QByteArray> b;
};

enum class SaveOutcome
{
    Written,  // over the record at the position
    Appended, // as a new record at the end
    // The record at the position is no longer the one loaded (another workstation changed it, or
    // a deletion moved another record there or left the position empty). Nothing was written.
    RecordChanged
};

struct SaveResult
{
    SaveOutcome outcome = SaveOutcome::RecordChanged;
    int position = 0; // where the record is now
    bool photosWritten = true;
};

// An archive as the user knows it: the record file `<name>.gdt` and the photos of its records in
// the photo folder, which belong to a record only through a file name made from its position.
// Every change to an archive goes through here (a record saved with its photos, a deletion, an
// import), and each holds the archive's exclusive lock from its first byte to its last photo, so
// that another workstation sharing the folder never sees, or writes between, half of one. Only
// this class knows how photos are named, listed and moved; only it finishes or undoes a change
// that a crash interrupted.
class GameArchive
{
public:
    // The archive at `archivePath`, whose photos are in the photo folder beside it, named after
    // the archive's file name.
    explicit GameArchive(const QString& archivePath);
    GameArchive(const QString& archivePath, const QString& photoFolder, const QString& archiveName);

    // Tests: told each step of every change (see ChangeSteps).
    void setChangeSteps(ChangeSteps* steps) { steps_ = steps; }

    // The archive file, symbolic links followed.
    const QString& path() const { return archive_; }
    const QString& photoFolder() const { return photoFolder_; }
    const QString& name() const { return name_; }

    // Opens the record file for reading. Nothing is changed, except that a change a crash
    // interrupted (its journal is there) is finished or undone first, under the exclusive lock:
    // no writer can be making it then, since a writer holds that lock throughout. Where the file
    // system cannot lock, a reader cannot tell a crashed change from one that a writer on another
    // workstation is still making: it then reads the archive as it is and leaves the journal to
    // the next change. A reader who may not write reads it as it is too.
    void openForReading(ArchiveFile& file) const;
    static void openForReading(ArchiveFile& file, const QString& archivePath);

    // The photo file of `slot` ('A' or 'B') of the record at `position`: the file the folder
    // holds, whatever the letter case of its extension, or the name a new one gets.
    QString photoPath(int position, char slot) const;
    // Which records first..last have photos. Throws ArchiveError when the folder cannot be read.
    PhotosPresent listPhotos(int first, int last) const;

    // Saves `record` over the record at `position` while that still holds exactly `loadedRecord`,
    // or at the end of the archive when `position` is 0; then writes the photos given, under the
    // names of the position where the record now is. Throws ArchiveReadOnlyError for an archive
    // this user may not write, ArchiveError on any other failure of the record file; photos that
    // could not be written leave the record saved and say so in the result.
    SaveResult saveRecord(int position, QByteArrayView loadedRecord, const GameRecord& record,
                          const PhotoBytes& photos) const;
    // See deleteRecordHeld. Throws ArchiveReadOnlyError, or ArchiveError before the commit.
    DeletionResult deleteRecord(int position, QByteArrayView expectedRecord) const;
    // Starts an import: the archive is held until the import is committed or undone.
    std::unique_ptr<ArchiveImport> beginImport() const;
    // Finishes or undoes a change that a crash interrupted; nothing when there is none.
    void finishInterruptedChange() const;
    // Whether this user may change the archive: false for a file that is there and may only be
    // read, so that a change can be refused before the user prepares it.
    bool writable() const;
    // Whether a change was interrupted (its journal is beside the archive).
    bool changeInterrupted() const;

private:
    void openForChange(ArchiveFile& file) const;
    bool writePhoto(int position, char slot, const QByteArray& bytes) const;

    QString archive_;
    QString photoFolder_;
    QString name_;
    ChangeSteps* steps_ = nullptr;
};

} // namespace brivanto
