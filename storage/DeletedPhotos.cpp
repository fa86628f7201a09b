#include "storage/DeletedPhotos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>

#include <stdio.h>

namespace brivanto {
namespace {

// The trash of the user's data folder, created when missing. QFile::moveToTrash does not create
// it: without it the file silently lands in "files" under the current folder.
QString homeTrash()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return {};
    const QString trash = data + QStringLiteral("/Trash");
    QDir dir;
    if (!dir.mkpath(trash + QStringLiteral("/files")) || !dir.mkpath(trash + QStringLiteral("/info")))
        return {};
    return QFileInfo(trash).canonicalFilePath();
}

bool isInATrash(const QString& pathInTrash, const QString& trash)
{
    const QString canonical = QFileInfo(pathInTrash).canonicalFilePath();
    return (!trash.isEmpty() && canonical.startsWith(trash + QLatin1Char('/'))) ||
           canonical.contains(QStringLiteral("/.Trash"));
}

bool moveIntoFolder(const QString& path, const QString& fileName, const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    const QFileInfo name(fileName);
    for (int copy = 1; copy < 10000; ++copy) {
        const QString target =
            folder + QLatin1Char('/') +
            (copy == 1 ? fileName
                       : name.completeBaseName() + QStringLiteral(" (%1).").arg(copy) + name.suffix());
        if (QFileInfo::exists(target))
            continue;
        return ::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) == 0;
    }
    return false;
}

} // namespace

PhotoDisposal disposeOfDeletedPhoto(const QString& path, const QString& keepFolder)
{
    const QString fileName = QFileInfo(path).fileName();
    const QString trash = homeTrash();
    QString inTrash;
    if (!trash.isEmpty() && QFile::moveToTrash(path, &inTrash)) {
        if (isInATrash(inTrash, trash))
            return PhotoDisposal::Trash;
        // Reported as trashed but put somewhere else (the current folder): take it back.
        return moveIntoFolder(inTrash, fileName, keepFolder) ? PhotoDisposal::KeptFolder
                                                             : PhotoDisposal::Failed;
    }
    return moveIntoFolder(path, fileName, keepFolder) ? PhotoDisposal::KeptFolder : PhotoDisposal::Failed;
}

} // namespace brivanto
