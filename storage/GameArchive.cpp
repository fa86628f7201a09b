#include "storage/GameArchive.h"

#include "storage/FileReplacement.h"
#include "storage/StorageFiles.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace brivanto {

GameArchive::GameArchive(const QString& archivePath)
    : GameArchive(archivePath, QFileInfo(archivePath).absolutePath() + QLatin1Char('/') + PhotoFolderName,
                  QFileInfo(archivePath).completeBaseName())
{}

GameArchive::GameArchive(const QString& archivePath, const QString& photoFolder, const QString& archiveName)
    : archive_(fileBehindLinks(QFileInfo(archivePath).absoluteFilePath())),
      photoFolder_(QDir::cleanPath(QFileInfo(photoFolder).absoluteFilePath())), name_(archiveName)
{}

bool GameArchive::writable() const
{
    const QByteArray path = storage_files::native(archive_);
    return ::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) == 0 || errno == ENOENT;
}

bool GameArchive::changeInterrupted() const
{
    return interruptedDeletionPending(archive_) || storage_files::exists(importJournalPath(archive_));
}

void GameArchive::openForChange(ArchiveFile& file) const
{
    // Each round that finds a journal puts the archive right and opens it again, so that what is
    // read afterwards is the archive as the recovery left it.
    for (int round = 0;; ++round) {
        file.Open(archive_, ArchiveFile::Access::Write);
        if (!changeInterrupted())
            return;
        if (round == 3)
            throw ArchiveError("interrupted change cannot be finished");
        if (interruptedDeletionPending(archive_))
            recoverDeletion(archive_, steps_);
        if (storage_files::exists(importJournalPath(archive_)))
            recoverImport(file, steps_);
    }
}

void GameArchive::openForReading(ArchiveFile& file) const
{
    file.Open(archive_, ArchiveFile::Access::Read);
    if (!file.isLocked() || !changeInterrupted())
        return;
    file.Close();
    try {
        ArchiveFile writer;
        openForChange(writer);
    } catch (const ArchiveReadOnlyError&) {
        // Not this user's to put right: read the archive as it is.
    }
    file.Open(archive_, ArchiveFile::Access::Read);
}

void GameArchive::openForReading(ArchiveFile& file, const QString& archivePath)
{
    GameArchive(archivePath).openForReading(file);
}

QString GameArchive::photoPath(int position, char slot) const
{
    return locatePhotoFile(photoFolder_, name_, position, slot);
}

PhotosPresent GameArchive::listPhotos(int first, int last) const
{
    PhotoListing listing = brivanto::listPhotos(photoFolder_, name_, first, last);
    if (!listing.ok)
        throw ArchiveError("photo folder cannot be read");
    return std::move(listing.photos);
}

bool GameArchive::writePhoto(int position, char slot, const QByteArray& bytes) const
{
    return QDir().mkpath(photoFolder_) && replaceFileWhole(photoPath(position, slot), bytes);
}

SaveResult GameArchive::saveRecord(int position, QByteArrayView loadedRecord, const GameRecord& record,
                                   const PhotoBytes& photos) const
{
    SaveResult result;
    ArchiveFile file;
    openForChange(file);
    const int count = file.RecordCount();
    if (position == 0) {
        file.Seek(count);
        result.outcome = SaveOutcome::Appended;
        result.position = count + 1;
    } else {
        if (position > count || loadedRecord.size() != qsizetype(RecordSize))
            return result;
        file.Seek(position - 1);
        if (std::memcmp(&file.ReadInPlace(), loadedRecord.data(), RecordSize) != 0)
            return result;
        file.Seek(position - 1);
        result.outcome = SaveOutcome::Written;
        result.position = position;
    }
    file.Write(record);
    file.Sync(); // the record reaches the disk before its photos change
    reachStep(steps_, "scheda scritta");
    // Still under the lock: a deletion on another workstation cannot move a photo between the
    // record and its photos, nor rename another game's photo over one just written.
    if (photos.a)
        result.photosWritten = writePhoto(result.position, 'A', *photos.a) && result.photosWritten;
    if (photos.b)
        result.photosWritten = writePhoto(result.position, 'B', *photos.b) && result.photosWritten;
    file.Close();
    return result;
}

DeletionResult GameArchive::deleteRecord(int position, QByteArrayView expectedRecord) const
{
    ArchiveFile file;
    openForChange(file);
    return deleteRecordHeld(file, {archive_, photoFolder_, name_}, position, expectedRecord, steps_);
}

std::unique_ptr<ArchiveImport> GameArchive::beginImport() const
{
    std::unique_ptr<ArchiveImport> import(new ArchiveImport(archive_, steps_));
    openForChange(import->archive());
    return import;
}

void GameArchive::finishInterruptedChange() const
{
    ArchiveFile file;
    openForChange(file);
}

} // namespace brivanto
