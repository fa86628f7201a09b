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

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// How a deletion stays whole across a crash:
//  1. under the archive's exclusive lock, a first journal names what the deletion may leave
//     behind; the archive without the record is written to a new file beside it and flushed;
//  2. every photo that changes name is hard-linked (copied where links are refused) into a
//     staging folder under its new name, the deleted record's photos into its trash subfolder;
//     nothing in the photo folder changes yet;
//  3. the plan (which names get a staged photo, which must end up without one) and the new
//     file's identity replace the first journal;
//  4. the new file is renamed over the archive: the deletion is now committed;
//  5. the staged photos are renamed over their new names, the names the plan empties are
//     removed, the deleted photos go to the trash, then the staging folder and the journal.
// The next opening of the archive finds the journal: without a plan, or with the new file still
// there, step 4 never happened and the leftovers are removed; when the archive is the new file,
// step 5 is done again, each part skipping what is already done.
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

void removeFolder(const QString& path)
{
    if (exists(path) && !QDir(path).removeRecursively())
        fail("remove folder " + path.toStdString(), EIO);
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
        const ssize_t n = ::pread(from, buffer.data(), std::size_t(std::min<std::int64_t>(length, Block)), offset);
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

// A whole copy, flushed, for file systems that refuse hard links.
bool copyFile(const QString& from, const QString& to)
{
    const Descriptor in(::open(native(from).constData(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        return false;
    const Descriptor out(::open(native(to).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (out.get() < 0)
        return false;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        if (!writeAll(out.get(), buffer, std::size_t(n)))
            return false;
    }
    return ::fsync(out.get()) == 0;
}

void stage(const QString& from, const QString& to)
{
    if (::link(native(from).constData(), native(to).constData()) == 0)
        return;
    const int error = errno;
    const bool linksRefused = error == EPERM || error == EXDEV || error == EMLINK || error == ENOTSUP ||
                              error == ENOSYS || error == EOPNOTSUPP;
    if (!linksRefused || !copyFile(from, to))
        fail("stage photo " + from.toStdString(), linksRefused ? errno : error);
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
};

Paths pathsOf(const QString& archivePath, const QString& photoFolder, const QString& archiveName)
{
    const QString archive = QFileInfo(archivePath).absoluteFilePath();
    const QString folder = QFileInfo(archive).absolutePath();
    const QString photos = QDir(folder).absoluteFilePath(photoFolder);
    return {archive, folder, photos, photos + QLatin1Char('/') + stagingFolderName(archiveName),
            deletionJournalPath(archive), newArchivePath(archive)};
}

// Which of the positions first..last have a photo in each slot, from one listing of the folder.
struct PhotosPresent
{
    int first = 0;
    std::vector<char> a, b;
    bool has(char slot, int position) const
    {
        const std::size_t i = std::size_t(position - first);
        const auto& side = slot == 'A' ? a : b;
        return position >= first && i < side.size() && side[i];
    }
};

PhotosPresent listPhotos(const QString& folder, const QString& archiveName, int first, int last)
{
    PhotosPresent present;
    present.first = first;
    present.a.assign(std::size_t(last - first + 1), 0);
    present.b = present.a;
    DIR* dir = ::opendir(native(folder).constData());
    if (!dir)
        return present; // no photo folder: no photos
    const QByteArray prefix = native(archiveName + QStringLiteral("_Foto_"));
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, prefix.constData(), std::size_t(prefix.size())) != 0)
            continue;
        const auto name = parsePhotoFileName(QFile::decodeName(entry->d_name), archiveName);
        if (!name || name->position < first || name->position > last)
            continue;
        (name->slot == 'A' ? present.a : present.b)[std::size_t(name->position - first)] = 1;
    }
    ::closedir(dir);
    return present;
}

void writeJournal(const Paths& paths, const DeletionPlan& plan)
{
    const QString partial = paths.journal + QStringLiteral(".parziale");
    const QByteArray bytes = serializeDeletionPlan(plan);
    {
        const Descriptor fd(::open(native(partial).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
        if (fd.get() < 0 || !writeAll(fd.get(), bytes.constData(), std::size_t(bytes.size())) ||
            ::fsync(fd.get()) != 0) {
            const int error = errno;
            ::unlink(native(partial).constData());
            fail("write journal", error);
        }
    }
    if (::rename(native(partial).constData(), native(paths.journal).constData()) != 0)
        fail("journal");
    syncFolder(paths.archiveFolder);
}

void rollBack(const Paths& paths)
{
    removeFile(paths.newArchive);
    removeFolder(paths.staging);
    syncFolder(paths.archiveFolder);
    removeFile(paths.journal);
    syncFolder(paths.archiveFolder);
}

// Step 5, done again after a crash: each part does only what is still to do.
void complete(const Paths& paths, const DeletionPlan& plan, DeletionResult& result)
{
    const QString trash = paths.staging + QLatin1Char('/') + StagedTrashFolder + QLatin1Char('/');
    for (const QString& name : plan.deleted) {
        if (exists(trash + name)) {
            const PhotoDisposal disposal =
                disposeOfDeletedPhoto(trash + name, paths.photoFolder + QLatin1Char('/') + KeptPhotosFolder);
            if (disposal == PhotoDisposal::Failed)
                fail("dispose of " + name.toStdString(), EIO);
            ++(disposal == PhotoDisposal::Trash ? result.photosInTrash : result.photosKept);
        }
        checkpoint();
    }
    const QString staging = paths.staging + QLatin1Char('/');
    const QString photos = paths.photoFolder + QLatin1Char('/');
    for (const QString& name : plan.renames) {
        // A staged photo that is gone has already been renamed over its new name.
        if (::rename(native(staging + name).constData(), native(photos + name).constData()) != 0 &&
            errno != ENOENT)
            fail("rename photo " + name.toStdString());
        checkpoint();
    }
    for (const QString& name : plan.removals) {
        removeFile(photos + name);
        checkpoint();
    }
    if (!plan.renames.isEmpty() || !plan.removals.isEmpty())
        syncFolder(paths.photoFolder);
    removeFolder(paths.staging);
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
            // A name whose record leaves or has no photo in its new place ends up without a file.
            if (p == count || !present.has(slot, p + 1))
                plan.removals.append(photoFileName(name, p, slot));
        }
    }
}

void stagePhotos(const Paths& paths, const DeletionPlan& plan)
{
    const QString staging = paths.staging + QLatin1Char('/');
    const QString trash = staging + StagedTrashFolder;
    if (::mkdir(native(paths.staging).constData(), 0777) != 0 || ::mkdir(native(trash).constData(), 0777) != 0)
        fail("staging folder");
    const QString photos = paths.photoFolder + QLatin1Char('/');
    for (const QString& name : plan.deleted) {
        stage(photos + name, trash + QLatin1Char('/') + name);
        checkpoint();
    }
    for (const QString& name : plan.renames) {
        const auto photo = parsePhotoFileName(name, plan.archiveName);
        stage(photos + photoFileName(plan.archiveName, photo->position + 1, photo->slot), staging + name);
        checkpoint();
    }
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
        rollBack(paths);
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
        rollBack(paths);
        return;
    }
    DeletionResult ignored;
    complete(paths, *plan, ignored);
}

DeletionResult deleteRecord(const QString& archivePath, const QString& photoFolder, const QString& archiveName,
                            int position, QByteArrayView expectedRecord)
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
    removeFolder(paths.staging);

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
        writeJournal(paths, plan);
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
        if (!plan.deleted.isEmpty() || !plan.renames.isEmpty() || !plan.removals.isEmpty())
            stagePhotos(paths, plan);
        checkpoint();
        plan.newArchiveDevice = std::uint64_t(info.st_dev);
        plan.newArchiveInode = std::uint64_t(info.st_ino);
        writeJournal(paths, plan);
        checkpoint();
    } catch (const ArchiveError&) {
        try {
            rollBack(paths);
        } catch (const ArchiveError&) {
            // The journal says what to undo at the next opening.
        }
        throw;
    }
    if (::rename(native(paths.newArchive).constData(), native(paths.archive).constData()) != 0) {
        const int error = errno;
        rollBack(paths);
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
