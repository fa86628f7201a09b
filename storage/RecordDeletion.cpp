#include "storage/RecordDeletion.h"

#include "storage/ArchiveFile.h"
#include "storage/DeletedPhotos.h"
#include "storage/DeletionJournal.h"
#include "storage/FileReplacement.h"
#include "storage/PhotoNames.h"
#include "storage/StorageFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// How a deletion stays whole across a crash:
//  1. under the archive's exclusive lock, a first journal names what the deletion may leave
//     behind; the archive without the record is written to a new file beside it, with the old
//     file's mode and group, and flushed;
//  2. the plan (which photo moves to which name, which photos are the deleted record's) replaces
//     the first journal, and reaches the disk;
//  3. every photo that changes name is moved into a staging folder under its new name; the
//     deleted record's photos stay where they are;
//  4. the new file is renamed over the archive: the deletion is now committed;
//  5. the deleted record's photos go to the trash from their own name, the staged photos are
//     renamed to their new names, then the staging folder and the journal are removed.
// Whether step 4 happened is read from what every workstation sees alike, never from device or
// inode numbers (each client of a network share has its own, and a copied folder has new ones):
// while the new file is beside the archive, the archive is the old one; once it is gone, the
// archive's length tells the two files apart, the new one holding one record fewer. An undone
// deletion removes its journal before the new file, so no journal ever outlives its new file
// without the commit.
namespace brivanto {
namespace {

using namespace storage_files;

// Removes the staging folder. Every photo in it belongs somewhere by then; a file that no plan
// accounts for (a damaged journal) is handed to the trash, never deleted.
void removeStaging(const QString& staging, const QString& keep)
{
    if (!exists(staging))
        return;
    for (const QString& folder : {QString(staging + QLatin1Char('/') + StagedTrashFolder), staging}) {
        const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QFileInfo& file : files)
            if (disposeOfDeletedPhoto(file.filePath(), keep) == PhotoDisposal::Failed)
                fail("keep " + file.filePath().toStdString(), EIO);
        if (::rmdir(native(folder).constData()) != 0 && errno != ENOENT)
            fail("remove folder " + folder.toStdString());
    }
}

// Appends `length` bytes of `from` at `offset` to `to`, in large blocks, each started on its way
// to the disk at once so that the sync after the copy waits only for the last.
void copyRange(int from, int to, std::int64_t offset, std::int64_t length)
{
    static constexpr std::size_t Block = 1 << 20;
    std::vector<char> buffer(std::size_t(std::min<std::int64_t>(length, Block)));
    off_t written = ::lseek(to, 0, SEEK_CUR);
    while (length > 0) {
        const ssize_t n =
            ::pread(from, buffer.data(), std::size_t(std::min<std::int64_t>(length, Block)), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail("read archive", n == 0 ? EIO : errno);
        if (!writeAll(to, buffer.data(), std::size_t(n)))
            fail("write new archive");
        // Only a hint: where it is not taken, the sync writes everything.
        if (written >= 0) {
            ::sync_file_range(to, written, n, SYNC_FILE_RANGE_WRITE);
            written += n;
        }
        offset += n;
        length -= n;
    }
}

void lockExclusive(int fd)
{
    struct flock request
    {
    };
    request.l_type = F_WRLCK;
    request.l_whence = SEEK_SET;
    ::fcntl(fd, F_OFD_SETLK, &request); // nobody else knows this file; where locks fail, it stays unlocked
}

struct Paths
{
    QString archive;
    QString archiveFolder;
    QString photoFolder;
    QString staging;
    QString journal;
    QString newArchive;
    QString photo(const QString& name) const { return photoFolder + QLatin1Char('/') + name; }
    QString staged(const QString& name) const { return staging + QLatin1Char('/') + name; }
    // Where earlier versions of the program staged the deleted record's photos.
    QString stagedDeleted(const QString& name) const
    {
        return staging + QLatin1Char('/') + StagedTrashFolder + QLatin1Char('/') + name;
    }
    QString kept() const { return photoFolder + QLatin1Char('/') + KeptPhotosFolder; }
};

// The photo whose new name is `name`: the one of the next position, its extension spelt alike.
QString sourceOf(const DeletionPlan& plan, const QString& name)
{
    const auto photo = parsePhotoFileName(name, plan.archiveName);
    return photo ? photoFileName(plan.archiveName, photo->position + 1, photo->slot, photo->spelling)
                 : QString();
}

Paths pathsOf(const QString& archive, const QString& photoFolder, const QString& archiveName)
{
    return {archive,
            QFileInfo(archive).absolutePath(),
            photoFolder,
            photoFolder + QLatin1Char('/') + stagingFolderName(archiveName),
            deletionJournalPath(archive),
            newArchivePath(archive)};
}

// `durable`: on the disk before this returns. The first journal need not be: losing it in a power
// cut only leaves files that no reader looks at, which the next deletion removes.
void writeJournal(const Paths& paths, const DeletionPlan& plan, bool durable)
{
    writeWholeJournal(paths.journal, serializeDeletionPlan(plan), durable);
    if (durable)
        syncFolder(paths.archiveFolder);
}

void rollBack(const Paths& paths, const DeletionPlan& plan)
{
    for (const QString& name : plan.deleted)
        moveIfThere(paths.stagedDeleted(name), paths.photo(name));
    for (const QString& name : plan.renames)
        moveIfThere(paths.staged(name), paths.photo(sourceOf(plan, name)));
    removeStaging(paths.staging, paths.kept());
    if (!plan.renames.isEmpty() || !plan.deleted.isEmpty())
        syncFolder(paths.photoFolder);
    removeFile(paths.journal);
    syncFolder(paths.archiveFolder);
    removeFile(paths.newArchive);
}

// Step 5, done again after a crash: each part does only what is still to do.
void complete(const Paths& paths, const DeletionPlan& plan, DeletionResult& result, ChangeSteps* steps)
{
    // The deleted record's photos leave their names before any staged photo takes one; once a
    // staged photo has moved, a name of the deleted record may hold that photo instead.
    const bool movingBegun = std::any_of(plan.renames.cbegin(), plan.renames.cend(),
                                         [&](const QString& name) { return !exists(paths.staged(name)); });
    for (const QString& name : plan.deleted) {
        QString from;
        if (exists(paths.stagedDeleted(name)))
            from = paths.stagedDeleted(name);
        else if (!movingBegun && exists(paths.photo(name)))
            from = paths.photo(name);
        if (!from.isEmpty()) {
            const PhotoDisposal disposal = disposeOfDeletedPhoto(from, paths.kept());
            if (disposal == PhotoDisposal::Failed)
                fail("dispose of " + name.toStdString(), EIO);
            ++(disposal == PhotoDisposal::Trash ? result.photosInTrash : result.photosKept);
        }
        reachStep(steps, "foto eliminata");
    }
    for (const QString& name : plan.renames) {
        moveIfThere(paths.staged(name), paths.photo(name));
        reachStep(steps, "foto spostata");
    }
    if (!plan.renames.isEmpty())
        syncFolder(paths.photoFolder);
    removeStaging(paths.staging, paths.kept());
    reachStep(steps, "cartella di appoggio rimossa");
    removeFile(paths.journal);
    syncFolder(paths.archiveFolder);
    reachStep(steps, "giornale rimosso");
}

// Which photo names receive a staged photo, and which photos are the deleted record's. Every
// spelling of a photo's extension moves with it.
void planPhotos(const Paths& paths, DeletionPlan& plan)
{
    const QString& name = plan.archiveName;
    const PhotoListing listing = listPhotos(paths.photoFolder, name, plan.position, plan.oldCount);
    // A folder that cannot be read is not an empty one: moving the records without their photos
    // would give every later game the next one's photos.
    if (!listing.ok)
        fail("list photos", EACCES);
    for (int p = plan.position; p <= plan.oldCount; ++p) {
        for (char slot : {'A', 'B'}) {
            const std::uint8_t spellings = listing.photos.spellings(slot, p);
            for (int spelling = 0; spelling < PhotoSpellings; ++spelling) {
                if (!(spellings & (1 << spelling)))
                    continue;
                if (p == plan.position)
                    plan.deleted.append(photoFileName(name, p, slot, spelling));
                else
                    plan.renames.append(photoFileName(name, p - 1, slot, spelling));
            }
        }
    }
}

void stagePhotos(const Paths& paths, const DeletionPlan& plan, ChangeSteps* steps)
{
    if (::mkdir(native(paths.staging).constData(), 0777) != 0)
        fail("staging folder");
    for (const QString& name : plan.renames) {
        move(paths.photo(sourceOf(plan, name)), paths.staged(name));
        reachStep(steps, "foto messa da parte");
    }
    syncFolder(paths.staging);
    syncFolder(paths.photoFolder);
}

bool holdsRecords(const QString& archive, int count)
{
    struct stat info
    {
    };
    return ::stat(native(archive).constData(), &info) == 0 &&
           std::int64_t(info.st_size) == std::int64_t(count) * std::int64_t(RecordSize);
}

} // namespace

bool interruptedDeletionPending(const QString& archivePath)
{
    return exists(deletionJournalPath(archivePath));
}

void recoverDeletion(const QString& archivePath, ChangeSteps* steps)
{
    const QString journal = deletionJournalPath(archivePath);
    QFile file(journal);
    if (!file.open(QIODevice::ReadOnly))
        fail("read journal");
    const auto plan = parseDeletionPlan(file.readAll());
    file.close();
    if (!plan) {
        // Only a whole journal is ever renamed into place; this one was not written here.
        removeFile(journal);
        removeFile(newArchivePath(archivePath));
        return;
    }
    const QString folder = QFileInfo(archivePath).absolutePath();
    const Paths paths = pathsOf(
        archivePath, QDir::cleanPath(QDir(folder).absoluteFilePath(plan->photoFolder)), plan->archiveName);
    // The first journal, written before the new file was whole, has no plan; a new file still
    // beside the archive was never renamed; an archive of the old length is not the new file.
    const bool committed =
        plan->hasPlan() && !exists(paths.newArchive) && holdsRecords(paths.archive, plan->newCount);
    reachStep(steps, "ripresa");
    if (!committed) {
        rollBack(paths, *plan);
        return;
    }
    DeletionResult ignored;
    complete(paths, *plan, ignored, steps);
}

DeletionResult deleteRecordHeld(ArchiveFile& archive, const DeletionFiles& files, int position,
                                QByteArrayView expectedRecord, ChangeSteps* steps)
{
    DeletionResult result;
    reachStep(steps, "inizio");
    const std::int64_t length = archive.byteLength();
    const int count = archive.RecordCount();
    result.recordCount = count;
    if (length % std::int64_t(RecordSize) != 0) {
        result.outcome = DeletionOutcome::NotWholeRecords;
        return result;
    }
    if (position < 1 || position > count || expectedRecord.size() != qsizetype(RecordSize)) {
        result.outcome = DeletionOutcome::RecordChanged;
        return result;
    }
    GameRecord shown;
    archive.Seek(position - 1);
    archive.Read(shown);
    if (std::memcmp(&shown, expectedRecord.data(), RecordSize) != 0) {
        result.outcome = DeletionOutcome::RecordChanged;
        return result;
    }

    const Paths paths = pathsOf(files.archive, files.photoFolder, files.archiveName);
    // Leftovers of a deletion whose first journal never reached the disk.
    removeFile(paths.newArchive);
    removeStaging(paths.staging, paths.kept());

    struct stat old
    {
    };
    if (::fstat(archive.nativeHandle(), &old) != 0)
        fail("fstat");
    DeletionPlan plan;
    plan.archiveName = files.archiveName;
    plan.photoFolder = QDir(paths.archiveFolder).relativeFilePath(paths.photoFolder);
    plan.position = position;
    plan.oldCount = count;
    plan.newCount = count - 1;
    Descriptor next;
    try {
        // First a journal without a plan, so that whatever this deletion leaves behind is undone.
        writeJournal(paths, plan, false);
        reachStep(steps, "primo giornale");
        // Locked before it takes the archive's name, so that nobody writes into it before the
        // photos have followed their records.
        next.reset(
            ::open(native(paths.newArchive).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (next.get() < 0)
            fail("create new archive");
        takeOverOwnership(next.get(), old);
        lockExclusive(next.get());
        const std::int64_t before = std::int64_t(position - 1) * std::int64_t(RecordSize);
        copyRange(archive.nativeHandle(), next.get(), 0, before);
        reachStep(steps, "nuovo archivio, prima parte");
        copyRange(archive.nativeHandle(), next.get(), before + std::int64_t(RecordSize),
                  length - before - std::int64_t(RecordSize));
        if (::fsync(next.get()) != 0)
            fail("sync new archive");
        reachStep(steps, "nuovo archivio scritto");
        struct stat made
        {
        };
        if (::fstat(next.get(), &made) != 0)
            fail("fstat");
        planPhotos(paths, plan);
        // Earlier versions of the program recognise the new file by these numbers; this one only
        // reads from them that the journal holds a plan.
        plan.newArchiveDevice = std::uint64_t(made.st_dev);
        plan.newArchiveInode = std::max<std::uint64_t>(made.st_ino, 1);
        writeJournal(paths, plan, true);
        reachStep(steps, "piano scritto");
        if (!plan.renames.isEmpty())
            stagePhotos(paths, plan, steps);
        reachStep(steps, "foto pronte");
        if (::rename(native(paths.newArchive).constData(), native(paths.archive).constData()) != 0)
            fail("replace archive");
    } catch (const ArchiveError&) {
        try {
            rollBack(paths, plan);
        } catch (const ArchiveError&) {
            // The journal says what to undo at the next opening.
        }
        throw;
    }
    // Committed: from here on the game is deleted, whatever fails; what is left to do stays in
    // the journal for the next opening of the archive.
    result.outcome = DeletionOutcome::Deleted;
    result.recordCount = count - 1;
    try {
        reachStep(steps, "archivio sostituito");
        syncFolder(paths.archiveFolder);
        complete(paths, plan, result, steps);
    } catch (const ArchiveError&) {
        result.unfinished = true;
    }
    return result;
}

} // namespace brivanto
