#include "storage/StorageFiles.h"

#include "storage/ArchiveFile.h"

#include <QFile>

#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brivanto::storage_files {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

void fail(const std::string& what, int error)
{
    throw ArchiveError(what + ": " + std::strerror(error));
}

void Descriptor::reset(int fd)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

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

void move(const QString& from, const QString& to)
{
    if (::rename(native(from).constData(), native(to).constData()) != 0)
        fail("move " + from.toStdString());
}

void moveIfThere(const QString& from, const QString& to)
{
    if (::rename(native(from).constData(), native(to).constData()) != 0 && errno != ENOENT)
        fail("move " + from.toStdString());
}

void writeWholeJournal(const QString& path, const QByteArray& bytes, bool durable)
{
    const QString partial = path + QStringLiteral(".parziale");
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
    if (::rename(native(partial).constData(), native(path).constData()) != 0) {
        const int error = errno;
        ::unlink(native(partial).constData());
        fail("journal", error);
    }
}

} // namespace brivanto::storage_files
