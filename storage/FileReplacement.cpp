#include "storage/FileReplacement.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace brivanto {
namespace {

// The umask can only be read by setting it: read once, before any thread of ours writes files.
mode_t currentUmask()
{
    static const mode_t mask = [] {
        const mode_t current = ::umask(022);
        ::umask(current);
        return current;
    }();
    return mask;
}

} // namespace

void takeOverOwnership(int fd, const struct stat& old)
{
    // The owner first: a change of owner may clear the set-group-id bit that fchmod then restores.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)::fchown(fd, uid_t(-1), old.st_gid); // a group this user belongs to
    (void)::fchmod(fd, old.st_mode & 07777);
}

QString fileBehindLinks(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    return target.isEmpty() ? path : target;
}

bool replaceFileWhole(const QString& path, const QByteArray& bytes)
{
    if (path.isEmpty() || bytes.isEmpty())
        return false;
    const QString target = fileBehindLinks(path);
    const QFileInfo info(target);
    QByteArray temporary = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                                             QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    const char* data = bytes.constData();
    std::size_t left = std::size_t(bytes.size());
    bool written = true;
    while (written && left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        written = n > 0;
        if (written) {
            data += n;
            left -= std::size_t(n);
        }
    }
    struct stat old
    {
    };
    if (::stat(QFile::encodeName(target).constData(), &old) == 0)
        takeOverOwnership(fd, old);
    else
        (void)::fchmod(fd, 0666 & ~currentUmask());
    written = written && ::fdatasync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

} // namespace brivanto
