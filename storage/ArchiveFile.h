#pragma once

#include "storage/GameRecord.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

namespace brivanto {

// The one failure of every archive operation. Its what() is a technical detail for logs; the
// user is always shown archiveAccessErrorText().
class ArchiveError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

QString archiveAccessErrorText();

// A change refused because this user may read the archive but not write it: it still opens for
// browsing, searching, printing and exporting.
class ArchiveReadOnlyError : public ArchiveError
{
public:
    using ArchiveError::ArchiveError;
};

QString archiveReadOnlyText();

// An archive file held open for the length of one user action: open, seek, read or write whole
// records, close. Every failure throws ArchiveError; the destructor closes the file quietly, so a
// handler that catches the error has nothing left open.
//
// Archives may live in a folder shared by several workstations, so the file is locked for the
// whole operation: shared while reading, exclusive while writing. An append (Seek(RecordCount())
// then Write) under the exclusive lock can never land on another program's new record. Where the
// file system cannot lock at all (a network folder without a lock service), the archive is used
// unlocked rather than not at all; only a lock that another program holds is waited for.
//
// A record deletion replaces the archive file by a new one. Open therefore checks, once it holds
// its lock, that the path still names the file it locked, and otherwise opens the new one. This
// class reads and writes records only: finishing a change that a crash interrupted belongs to the
// archive's owner (GameArchive), which opens the file through here.
class ArchiveFile
{
public:
    enum class Access
    {
        Read,
        Write
    };

    ArchiveFile() = default;
    ~ArchiveFile();
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;

    // Opens the file, creating it empty when there is none. Access::Read opens it for reading
    // only, so an archive this user may not write still opens; it refuses Write and Append, since
    // its shared lock does not keep other writers out. Access::Write on an existing file that
    // this user may not write throws ArchiveReadOnlyError, and the file is never touched.
    void Open(const QString& path, Access access = Access::Write);
    int RecordCount() const;
    void Seek(int index);
    void Read(GameRecord& record);
    // Read without the copy, for visits of a whole archive: the record stays valid until the next
    // operation on this file.
    const GameRecord& ReadInPlace();
    void Write(const GameRecord& record);
    // Appends `count` records after the last whole one, under the exclusive lock this file holds.
    // The appends since Open make one: UndoAppends() cuts the file back to its length before the
    // first and puts back the bytes past the last whole record that the first wrote over, so a
    // collection brought in from elsewhere is there whole or not at all. A failing Append undoes
    // them all itself before it throws. The pointer ends after the last record appended. The
    // records start on their way to the disk at once.
    void Append(const GameRecord* records, std::size_t count);
    // False when the file could not be cut back.
    bool UndoAppends() noexcept;
    // Makes what was written durable while the file is still open, so that a failure can still
    // be undone (Close syncs too, but after it nothing can be undone).
    void Sync();
    int Pointer() const;
    bool AtEnd() const;
    void Close();

    bool isOpen() const { return fd_ >= 0; }
    // Whether the lock was placed: false on a file system that cannot lock at all.
    bool isLocked() const { return locked_; }
    const QString& path() const { return path_; }
    // For storage code that moves whole blocks of the file (the deletion of a record).
    int nativeHandle() const { return fd_; }
    std::int64_t byteLength() const { return length_; }

    // How long Open waits for another program's lock before giving up.
    static void setLockTimeoutMs(int ms);

    // Told true when Open starts waiting for another program's lock and false when the wait
    // ends, either way; the application shows the wait cursor meanwhile.
    using LockWaitObserver = std::function<void(bool waiting)>;
    static void setLockWaitObserver(LockWaitObserver observer);

    // One attempt to place the lock: 0 when placed, otherwise the errno of the refusal. An empty
    // function restores the system's call; tests put a scripted one in its place.
    using LockAttempt = std::function<int(int fd, Access access)>;
    static void setLockAttemptForTesting(LockAttempt attempt);

private:
    void requireOpen() const;
    void lock(Access access);
    bool pathNamesHeldFile() const;
    void restoreAfterFailedWrite(std::int64_t offset, const std::vector<std::uint8_t>& previous);
    void closeQuietly() noexcept;

    QString path_;
    int fd_ = -1;
    std::int32_t pointer_ = 0;
    std::int64_t length_ = 0;
    Access access_ = Access::Write;
    bool locked_ = false;
    bool written_ = false;

    // The appends since Open: the length before the first, and the bytes it wrote over.
    bool appending_ = false;
    std::int64_t appendStart_ = 0;
    std::vector<std::uint8_t> appendTail_;

    // Read-ahead of whole records (up to 256, 864 KB), so visiting an archive costs few system calls.
    std::vector<std::uint8_t> buffer_;
    std::int64_t bufferFirst_ = 0; // index of the first record in buffer_
    std::int64_t bufferCount_ = 0;
};

} // namespace brivanto
