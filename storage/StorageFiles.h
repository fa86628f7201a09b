#pragma once

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <string>

// The plain system calls with which the archive's owner changes files, each failure an
// ArchiveError. For storage code only.
namespace brivanto::storage_files {

QByteArray native(const QString& path);
[[noreturn]] void fail(const std::string& what, int error = errno);

// A file descriptor closed with its owner.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1);

private:
    int fd_;
};

// A rename or a new name inside a folder reaches the disk with the folder itself.
void syncFolder(const QString& folder);
bool exists(const QString& path);
void removeFile(const QString& path);
bool writeAll(int fd, const char* data, std::size_t size);
void move(const QString& from, const QString& to);
// Moves `from` to `to` unless that was done before: `from` is gone.
void moveIfThere(const QString& from, const QString& to);

// Puts a journal in place whole: written beside it, then renamed, so that a journal that exists
// is always complete. `durable`: the journal is on the disk (the caller syncs the folder).
void writeWholeJournal(const QString& path, const QByteArray& bytes, bool durable);

} // namespace brivanto::storage_files
