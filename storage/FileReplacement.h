#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

namespace brivanto {

// A file that takes the place of another (the archive without a deleted record, a photo saved
// again) is made by this user, under this user's umask: without care it would lock out the other
// users of a folder shared through a group. It gets the old file's mode and group, and its owner
// where this user may give it.
void takeOverOwnership(int fd, const struct stat& old);

// The file a path names, with symbolic links followed: a file that replaces a linked archive or
// photo replaces the link's target, never the link. A path that names nothing is returned as is.
QString fileBehindLinks(const QString& path);

// Writes `bytes` as the whole file at `path`: into a new file of the same folder, flushed to the
// disk, then renamed over the old one, which keeps its mode, group and owner. False on any
// failure; the old file is then untouched and no new file is left behind.
bool replaceFileWhole(const QString& path, const QByteArray& bytes);

} // namespace brivanto
