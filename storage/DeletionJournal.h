#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace brivanto {

// What a record deletion will do to the photo folder, written beside the archive before the new
// archive replaces the old one. After that replacement the journal alone says how to finish: the
// photo folder is then half old, half new, and only the plan (never what happens to exist) tells
// which names must end up holding a photo and which none.
struct DeletionPlan
{
    QString archiveName;
    QString photoFolder; // relative to the archive's folder
    int position = 0;    // the deleted record
    int oldCount = 0;
    int newCount = 0;
    // The file that becomes the archive: once the archive is this file, the deletion is committed.
    std::uint64_t newArchiveDevice = 0;
    std::uint64_t newArchiveInode = 0;
    // Photo names that receive the file staged under the same name in the staging folder.
    QStringList renames;
    // Photo names that must end up without a file.
    QStringList removals;
    // The deleted record's photos, staged in the staging folder's trash subfolder.
    QStringList deleted;
};

QByteArray serializeDeletionPlan(const DeletionPlan& plan);
std::optional<DeletionPlan> parseDeletionPlan(const QByteArray& bytes);

// The names beside an archive. None ends in ".gdt": the list of archives is every such file.
QString deletionJournalPath(const QString& archivePath);
QString newArchivePath(const QString& archivePath);
// Folder of the photo folder that holds hard links (or copies) of the photos a deletion moves.
QString stagingFolderName(const QString& archiveName);
inline constexpr QLatin1StringView StagedTrashFolder{"cestino"};
// Where the photos of deleted records are kept when the desktop's trash cannot take them.
inline constexpr QLatin1StringView KeptPhotosFolder{"Eliminate"};

} // namespace brivanto
