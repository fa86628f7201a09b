#include "storage/RecordDeletion.h"

#include "storage/ArchiveFile.h"
#include "storage/DeletedPhotos.h"
#include "storage/DeletionJournal.h"
#include "storage/PhotoNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// How a deletion stays whole across a crash:
//  1. under the archive's exclusive lock, a first journal names what the deletion may leave
//     behind; the archive without the record is written to a new file beside it and flushed;
//  2. the plan (which photo moves to which name, which photos are deleted) and the new file's
//     identity replace the first journal, and reach the disk;
//  3. every photo that changes name is moved into a staging folder under its new name, the
//     deleted record's photos into its trash subfolder; the photo folder loses those names;
//  4. the new file is renamed over the archive: the deletion is now committed;
//  5. the staged photos are renamed to their new names, the deleted ones go to the trash, then
//     the staging folder and the journal are removed.
// The next opening of the archive finds the journal: with the new file still there (or no plan),
// step 4 never happened and the staged photos go back to their old names; when the archive is the
// new file, step 5 is done again, each part skipping what is already done.
namespace brivanto {
namespace {

int stopAt = -1;
int passed = 0;

void checkpoint()
{
    if (passed++ == stopAt)
        ::_exit(DeletionStoppedExitCode);
}

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

[[noreturn]] void fail(const std::string& what, int error = errno)
{
    throw ArchiveError(what + ": " + std::strerror(error));
}

class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

// A rename or a new name inside a folder reaches the disk with the folder itself.
void syncFolder(const QString& folder)
{
    const Descriptor fd(::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0 || (::fsync(fd.get()) != 0 && errno != EINVAL))
        fail("sync folder " + folder.toStdString());
}

bool exists(const QString& path)
{
    struct stat info
    {
    };
    return ::lstat(native(path).constData(), &info) == 0;
}

void removeFile(const QString& path)
{
    if (::unlink(native(path).constData()) != 0 && errno != ENOENT)
        fail("remove " + path.toStdString());
}

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

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

// Appends `length` bytes of `from` at `offset` to `to`, in large blocks.
void copyRange(int from, int to, std::int64_t offset, std::int64_t length)
{
    static constexpr std::size_t Block = 1 << 20;
    std::vector<char> buffer(std::size_t(std::min<std::int64_t>(length, Block)));
    while (length > 0) {
        const ssize_t n =
            ::pread(from, buffer.data(), std::size_t(std::min<std::int64_t>(length, Block)), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail("read archive", n == 0 ? EIO : errno);
        if (!writeAll(to, buffer.data(), std::size_t(n)))
            fail("write new archive");
        offset += n;
        length -= n;
    }
}

void move(const QString& from, const QString& to)
{
    if (::rename(native(from).constData(), native(to).constData()) != 0)
        fail("move " + from.toStdString());
}

// Moves `from` to `to` unless that was done before: `from` is gone.
void moveIfThere(const QString& from, const QString& to)
{
    if (::rename(native(from).constData(), native(to).constData()) != 0 && errno != ENOENT)
        fail("move " + from.toStdString());
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
    QString stagedDeleted(const QString& name) const
    {
        return staging + QLatin1Char('/') + StagedTrashFolder + QLatin1Char('/') + name;
    }
    QString kept() const { return photoFolder + QLatin1Char('/') + KeptPhotosFolder; }
};

// The photo whose new name is `name`: the one of the next position.
QString sourceOf(const DeletionPlan& plan, const QString& name)
{
    const auto photo = parsePhotoFileName(name, plan.archiveName);
    return photo ? photoFileName(plan.archiveName, photo->position + 1, photo->slot) : QString();
}

Paths pathsOf(const QString& archivePath, const QString& photoFolder, const QString& archiveName)
{
    const QString archive = QFileInfo(archivePath).absoluteFilePath();
    const QString folder = QFileInfo(archive).absolutePath();
    const QString photos = QDir(folder).absoluteFilePath(photoFolder);
    return {archive,
            folder,
            photos,
            photos + QLatin1Char('/') + stagingFolderName(archiveName),
            deletionJournalPath(archive),
            newArchivePath(archive)};
}

// `durable`: on the disk before this returns. The first journal need not be: losing it in a power
// cut only leaves files that no reader looks at, which the next deletion removes.
void writeJournal(const Paths& paths, const DeletionPlan& plan, bool durable)
{
    const QString partial = paths.journal + QStringLiteral(".parziale");
    const QByteArray bytes = serializeDeletionPlan(plan);
    {
        const Descriptor fd(
            ::open(native(partial).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
        if (fd.get() < 0 || !writeAll(fd.get(), bytes.constData(), std::size_t(bytes.size())) ||
            (durable && ::fsync(fd.get()) != 0)) {
            const int error = errno;
            ::unlink(native(partial).constData());
            fail("write journal", error);
        }
    }
    if (::rename(native(partial).constData(), native(paths.journal).constData()) != 0)
        fail("journal");
    if (durable)
        syncFolder(paths.archiveFolder);
}

void rollBack(const Paths& paths, const DeletionPlan& plan)
{
    for (const QString& name : plan.deleted)
        moveIfThere(paths.stagedDeleted(name), paths.photo(name));
    for (const QString& name : plan.renames)
        moveIfThere(paths.staged(name), paths.photo(sourceOf(plan, name)));
    removeFile(paths.newArchive);
    removeStaging(paths.staging, paths.kept());
    if (exists(paths.photoFolder))
        syncFolder(paths.photoFolder);
    removeFile(paths.journal);
    syncFolder(paths.archiveFolder);
}

// Step 5, done again after a crash: each part does only what is still to do.
void complete(const Paths& paths, const DeletionPlan& plan, DeletionResult& result)
{
    for (const QString& name : plan.deleted) {
        if (exists(paths.stagedDeleted(name))) {
            const PhotoDisposal disposal = disposeOfDeletedPhoto(paths.stagedDeleted(name), paths.kept());
            if (disposal == PhotoDisposal::Failed)
                fail("dispose of " + name.toStdString(), EIO);
            ++(disposal == PhotoDisposal::Trash ? result.photosInTrash : result.photosKept);
        }
        checkpoint();
    }
    for (const QString& name : plan.renames) {
        moveIfThere(paths.staged(name), paths.photo(name));
        checkpoint();
    }
    if (!plan.renames.isEmpty())
        syncFolder(paths.photoFolder);
    removeStaging(paths.staging, paths.kept());
    checkpoint();
    removeFile(paths.journal);
    syncFolder(paths.archiveFolder);
    checkpoint();
}

// Which photo names receive a staged photo, which end up empty, which photos are deleted.
void planPhotos(const Paths& paths, DeletionPlan& plan)
{
    const QString& name = plan.archiveName;
    const int count = plan.oldCount;
    const PhotosPresent present = listPhotos(paths.photoFolder, name, plan.position, count);
    for (int p = plan.position; p <= count; ++p) {
        for (char slot : {'A', 'B'}) {
            if (!present.has(slot, p))
                continue;
            if (p == plan.position)
                plan.deleted.append(photoFileName(name, p, slot));
            else
                plan.renames.append(photoFileName(name, p - 1, slot));
        }
    }
}

void stagePhotos(const Paths& paths, const DeletionPlan& plan)
{
    const QString trash = paths.staging + QLatin1Char('/') + StagedTrashFolder;
    if (::mkdir(native(paths.staging).constData(), 0777) != 0 ||
        ::mkdir(native(trash).constData(), 0777) != 0)
        fail("staging folder");
    for (const QString& name : plan.deleted) {
        move(paths.photo(name), paths.stagedDeleted(name));
        checkpoint();
    }
    for (const QString& name : plan.renames) {
        move(paths.photo(sourceOf(plan, name)), paths.staged(name));
        checkpoint();
    }
    if (!plan.deleted.isEmpty())
        syncFolder(trash);
    syncFolder(paths.staging);
    syncFolder(paths.photoFolder);
}

} // namespace

void setDeletionStopForTesting(int checkpoint)
{
    stopAt = checkpoint;
}

int deletionCheckpointsPassed()
{
    return passed;
}

bool interruptedDeletionPending(const QString& archivePath)
{
    return exists(deletionJournalPath(archivePath));
}

void finishInterruptedDeletion(const QString& archivePath)
{
    passed = 0;
    const QString archive = QFileInfo(archivePath).absoluteFilePath();
    QFile file(deletionJournalPath(archive));
    if (!file.open(QIODevice::ReadOnly))
        fail("read journal");
    const auto plan = parseDeletionPlan(file.readAll());
    file.close();
    if (!plan) {
        // Only a whole journal is ever renamed into place; this one was not written here.
        removeFile(newArchivePath(archive));
        removeFile(deletionJournalPath(archive));
        return;
    }
    const Paths paths = pathsOf(archive, plan->photoFolder, plan->archiveName);
    if (exists(paths.newArchive)) {
        rollBack(paths, *plan);
        return;
    }
    struct stat info
    {
    };
    const bool committed = ::stat(native(archive).constData(), &info) == 0 &&
                           std::uint64_t(info.st_dev) == plan->newArchiveDevice &&
                           std::uint64_t(info.st_ino) == plan->newArchiveInode;
    if (!committed) {
        // The first journal, written before the new file existed, or an archive replaced since
        // (restored, deleted and made again): nothing of the plan may be done.
        rollBack(paths, *plan);
        return;
    }
    DeletionResult ignored;
    complete(paths, *plan, ignored);
}

DeletionResult deleteRecord(const QString& archivePath, const QString& photoFolder,
                            const QString& archiveName, int position, QByteArrayView expectedRecord)
{
    DeletionResult result;
    ArchiveFile archive;
    archive.Open(archivePath); // exclusive lock; finishes an earlier interrupted deletion first
    passed = 0;
    checkpoint();
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

    const Paths paths = pathsOf(archivePath, photoFolder, archiveName);
    // Leftovers of a deletion whose first journal never reached the disk.
    removeFile(paths.newArchive);
    removeStaging(paths.staging, paths.kept());

    struct stat old
    {
    };
    if (::fstat(archive.nativeHandle(), &old) != 0)
        fail("fstat");
    DeletionPlan plan;
    plan.archiveName = archiveName;
    plan.photoFolder = QDir(paths.archiveFolder).relativeFilePath(paths.photoFolder);
    plan.position = position;
    plan.oldCount = count;
    plan.newCount = count - 1;
    Descriptor next;
    try {
        // First a journal without a plan, so that whatever this deletion leaves behind is undone.
        writeJournal(paths, plan, false);
        checkpoint();
        // Locked before it takes the archive's name, so that nobody writes into it before the
        // photos have followed their records.
        next.reset(::open(native(paths.newArchive).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          old.st_mode & 0777));
        if (next.get() < 0)
            fail("create new archive");
        lockExclusive(next.get());
        const std::int64_t before = std::int64_t(position - 1) * std::int64_t(RecordSize);
        copyRange(archive.nativeHandle(), next.get(), 0, before);
        checkpoint();
        copyRange(archive.nativeHandle(), next.get(), before + std::int64_t(RecordSize),
                  length - before - std::int64_t(RecordSize));
        if (::fsync(next.get()) != 0)
            fail("sync new archive");
        checkpoint();
        struct stat info
        {
        };
        if (::fstat(next.get(), &info) != 0)
            fail("fstat");
        planPhotos(paths, plan);
        plan.newArchiveDevice = std::uint64_t(info.st_dev);
        plan.newArchiveInode = std::uint64_t(info.st_ino);
        writeJournal(paths, plan, true);
        checkpoint();
        if (!plan.deleted.isEmpty() || !plan.renames.isEmpty())
            stagePhotos(paths, plan);
        checkpoint();
    } catch (const ArchiveError&) {
        try {
            rollBack(paths, plan);
        } catch (const ArchiveError&) {
            // The journal says what to undo at the next opening.
        }
        throw;
    }
    if (::rename(native(paths.newArchive).constData(), native(paths.archive).constData()) != 0) {
        const int error = errno;
        rollBack(paths, plan);
        fail("replace archive", error);
    }
    syncFolder(paths.archiveFolder);
    checkpoint();
    complete(paths, plan, result);
    result.outcome = DeletionOutcome::Deleted;
    result.recordCount = count - 1;
    return result;
}

} // namespace brivanto
