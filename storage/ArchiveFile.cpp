#include "storage/ArchiveFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brivanto {
namespace {

constexpr std::int64_t ReadAheadRecords = 256;
int lockTimeoutMs = 10000;

int systemLockAttempt(int fd, ArchiveFile::Access access)
{
    struct flock request
    {
    };
    request.l_type = access == ArchiveFile::Access::Read ? F_RDLCK : F_WRLCK;
    request.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &request) == 0 ? 0 : errno;
}

ArchiveFile::LockAttempt& lockAttempt()
{
    static ArchiveFile::LockAttempt attempt;
    return attempt;
}

ArchiveFile::LockWaitObserver& lockWaitObserver()
{
    static ArchiveFile::LockWaitObserver observer;
    return observer;
}

// The refusals that mean another program holds a lock on the file. Every other refusal (ENOLCK,
// EOPNOTSUPP, ENOSYS, EINVAL from a file system or kernel without these locks) means that the
// file cannot be locked at all.
bool heldByAnotherProgram(int error)
{
    return error == EAGAIN || error == EACCES;
}

// Tells the observer that a wait began, and that it ended however the waiting stops.
class LockWait
{
public:
    LockWait() = default;
    LockWait(const LockWait&) = delete;
    LockWait& operator=(const LockWait&) = delete;
    ~LockWait()
    {
        if (waiting_ && lockWaitObserver())
            lockWaitObserver()(false);
    }
    void begin()
    {
        if (!waiting_ && lockWaitObserver())
            lockWaitObserver()(true);
        waiting_ = true;
    }

private:
    bool waiting_ = false;
};

[[noreturn]] void fail(const char* what, int error = errno)
{
    throw ArchiveError(std::string(what) + ": " + std::strerror(error));
}

std::int64_t offsetOf(std::int64_t index)
{
    return index * static_cast<std::int64_t>(RecordSize);
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t size, std::int64_t offset)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

std::int64_t readAll(int fd, std::uint8_t* data, std::size_t size, std::int64_t offset)
{
    std::int64_t total = 0;
    while (size > 0) {
        const ssize_t n = ::pread(fd, data + total, size, offset + total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        total += n;
        size -= static_cast<std::size_t>(n);
    }
    return total;
}

} // namespace

QString archiveAccessErrorText()
{
    return QStringLiteral(
        "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
        "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.");
}

QString archiveReadOnlyText()
{
    return QStringLiteral(
        "Attenzione: l'archivio \u00E8 in sola lettura. Si possono consultare, cercare, stampare ed "
        "esportare le schede, ma non salvarle, eliminarle o importarne di nuove.\r\n\r\nPer modificare "
        "l'archivio occorrono i privilegi di scrittura sul file dell'archivio.");
}

void ArchiveFile::setLockTimeoutMs(int ms)
{
    lockTimeoutMs = ms;
}

void ArchiveFile::setLockWaitObserver(LockWaitObserver observer)
{
    lockWaitObserver() = std::move(observer);
}

void ArchiveFile::setLockAttemptForTesting(LockAttempt attempt)
{
    lockAttempt() = std::move(attempt);
}

ArchiveFile::~ArchiveFile()
{
    closeQuietly();
}

void ArchiveFile::Open(const QString& path, Access access)
{
    closeQuietly();
    path_ = path;
    const QByteArray name = QFile::encodeName(path);
    const int mode = access == Access::Read ? O_RDONLY : O_RDWR;
    // Each round opens what the path names now; a round ends early when the file locked is no
    // longer the archive (replaced by a deletion while this program waited for the lock).
    for (int round = 0;; ++round) {
        if (round == 100)
            fail("archive replaced again and again", EAGAIN);
        int fd = ::open(name.constData(), mode | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT)
            fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST) // created by someone else in between: open theirs
            fd = ::open(name.constData(), mode | O_CLOEXEC);
        if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM) && access == Access::Write &&
            ::access(name.constData(), R_OK) == 0)
            throw ArchiveReadOnlyError("archive not writable");
        if (fd < 0)
            fail("open");
        fd_ = fd;
        access_ = access;
        pointer_ = 0;
        written_ = false;
        appending_ = false;
        appendTail_.clear();
        bufferCount_ = 0;
        try {
            lock(access);
            if (!pathNamesHeldFile()) {
                closeQuietly();
                continue;
            }
            struct stat info
            {
            };
            if (::fstat(fd_, &info) != 0)
                fail("fstat");
            if (!S_ISREG(info.st_mode))
                fail("not a regular file", EINVAL);
            length_ = info.st_size;
            return;
        } catch (...) {
            closeQuietly();
            throw;
        }
    }
}

bool ArchiveFile::pathNamesHeldFile() const
{
    struct stat named
    {
    };
    struct stat held
    {
    };
    if (::fstat(fd_, &held) != 0)
        fail("fstat");
    if (::stat(QFile::encodeName(path_).constData(), &named) != 0)
        return false; // removed meanwhile: the next round opens (or creates) what the path names
    return named.st_dev == held.st_dev && named.st_ino == held.st_ino;
}

void ArchiveFile::lock(Access access)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(lockTimeoutMs);
    LockWait wait;
    for (;;) {
        const int refusal = lockAttempt() ? lockAttempt()(fd_, access) : systemLockAttempt(fd_, access);
        if (refusal == 0) {
            locked_ = true;
            return;
        }
        if (refusal == EINTR)
            continue;
        if (!heldByAnotherProgram(refusal)) {
            locked_ = false;
            return; // this file system cannot lock: work unlocked
        }
        if (std::chrono::steady_clock::now() >= deadline)
            fail("lock timeout", refusal);
        wait.begin();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void ArchiveFile::requireOpen() const
{
    if (fd_ < 0)
        throw ArchiveError("archive not open");
}

int ArchiveFile::RecordCount() const
{
    requireOpen();
    return static_cast<int>(
        std::min<std::int64_t>(length_ / static_cast<std::int64_t>(RecordSize), INT32_MAX));
}

void ArchiveFile::Seek(int index)
{
    requireOpen();
    if (index < 0)
        throw ArchiveError("negative seek");
    pointer_ = index;
}

int ArchiveFile::Pointer() const
{
    requireOpen();
    return pointer_;
}

bool ArchiveFile::AtEnd() const
{
    return Pointer() >= RecordCount();
}

void ArchiveFile::Read(GameRecord& record)
{
    std::memcpy(&record, &ReadInPlace(), RecordSize);
}

const GameRecord& ArchiveFile::ReadInPlace()
{
    requireOpen();
    if (pointer_ >= RecordCount())
        throw ArchiveError("no whole record at the pointer");
    if (pointer_ < bufferFirst_ || pointer_ >= bufferFirst_ + bufferCount_) {
        const std::int64_t wanted = std::min<std::int64_t>(ReadAheadRecords, RecordCount() - pointer_);
        buffer_.resize(static_cast<std::size_t>(wanted) * RecordSize);
        const std::int64_t got = readAll(fd_, buffer_.data(), buffer_.size(), offsetOf(pointer_));
        if (got < static_cast<std::int64_t>(RecordSize))
            fail("read", got < 0 ? errno : EIO);
        bufferFirst_ = pointer_;
        bufferCount_ = got / static_cast<std::int64_t>(RecordSize);
    }
    const auto* record =
        reinterpret_cast<const GameRecord*>(buffer_.data() + offsetOf(pointer_ - bufferFirst_));
    ++pointer_;
    return *record;
}

void ArchiveFile::Write(const GameRecord& record)
{
    requireOpen();
    if (access_ == Access::Read)
        throw ArchiveError("write on an archive opened for reading");
    if (pointer_ == INT32_MAX)
        throw ArchiveError("archive too large");
    const std::int64_t offset = offsetOf(pointer_);
    bufferCount_ = 0;

    // Keep what the write replaces, so that a failed write can be undone instead of leaving a
    // torn record behind.
    std::vector<std::uint8_t> previous;
    if (offset < length_) {
        previous.resize(static_cast<std::size_t>(std::min<std::int64_t>(RecordSize, length_ - offset)));
        if (readAll(fd_, previous.data(), previous.size(), offset) !=
            static_cast<std::int64_t>(previous.size()))
            fail("read before write");
    }
    if (!writeAll(fd_, reinterpret_cast<const std::uint8_t*>(&record), RecordSize, offset)) {
        const int error = errno;
        restoreAfterFailedWrite(offset, previous);
        fail("write", error);
    }
    written_ = true;
    length_ = std::max(length_, offset + static_cast<std::int64_t>(RecordSize));
    ++pointer_;
}

void ArchiveFile::Append(const GameRecord* records, std::size_t count)
{
    requireOpen();
    if (access_ == Access::Read)
        throw ArchiveError("append on an archive opened for reading");
    if (count == 0)
        return;
    const std::int64_t first = RecordCount();
    if (first + static_cast<std::int64_t>(count) > INT32_MAX)
        throw ArchiveError("archive too large");
    const std::int64_t offset = offsetOf(first);
    bufferCount_ = 0;
    if (!appending_) {
        appendTail_.resize(static_cast<std::size_t>(length_ - offset));
        if (!appendTail_.empty() && readAll(fd_, appendTail_.data(), appendTail_.size(), offset) !=
                                        static_cast<std::int64_t>(appendTail_.size()))
            fail("read before append");
        appendStart_ = length_;
        appending_ = true;
    }
    if (!writeAll(fd_, reinterpret_cast<const std::uint8_t*>(records), count * RecordSize, offset)) {
        const int error = errno;
        UndoAppends();
        fail("append", error);
    }
    written_ = true;
    // The disk starts on these records now, while the caller makes the next ones, so that Sync
    // waits only for the last. Only a hint: where it is not done, Sync writes everything.
    ::sync_file_range(fd_, offset, static_cast<off_t>(count * RecordSize), SYNC_FILE_RANGE_WRITE);
    length_ = std::max(length_, offset + static_cast<std::int64_t>(count * RecordSize));
    pointer_ = static_cast<std::int32_t>(first + static_cast<std::int64_t>(count));
}

bool ArchiveFile::UndoAppends() noexcept
{
    if (!appending_ || fd_ < 0)
        return true;
    appending_ = false;
    bufferCount_ = 0;
    const std::int64_t wholeEnd = offsetOf(appendStart_ / static_cast<std::int64_t>(RecordSize));
    bool undone = appendTail_.empty() || writeAll(fd_, appendTail_.data(), appendTail_.size(), wholeEnd);
    int truncated;
    while ((truncated = ::ftruncate(fd_, appendStart_)) != 0 && errno == EINTR) {
    }
    undone = undone && truncated == 0 && ::fdatasync(fd_) == 0;
    length_ = appendStart_;
    appendTail_.clear();
    pointer_ = std::min(pointer_, static_cast<std::int32_t>(RecordCount()));
    return undone;
}

void ArchiveFile::Sync()
{
    requireOpen();
    if (written_ && ::fdatasync(fd_) != 0)
        fail("sync");
}

void ArchiveFile::restoreAfterFailedWrite(std::int64_t offset, const std::vector<std::uint8_t>& previous)
{
    if (!previous.empty())
        writeAll(fd_, previous.data(), previous.size(), offset);
    while (::ftruncate(fd_, length_) != 0 && errno == EINTR) {
    }
}

void ArchiveFile::Close()
{
    if (fd_ < 0)
        return;
    const int fd = fd_;
    fd_ = -1;
    locked_ = false;
    bufferCount_ = 0;
    // Records written by this action reach the disk before the user is told they are saved.
    const bool synced = !written_ || ::fdatasync(fd) == 0;
    const int syncError = errno;
    if (::close(fd) != 0 && errno != EINTR)
        fail("close");
    if (!synced)
        fail("sync", syncError);
}

void ArchiveFile::closeQuietly() noexcept
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    locked_ = false;
    bufferCount_ = 0;
}

} // namespace brivanto
