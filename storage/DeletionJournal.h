#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace brivanto {

// What a record deletion does to the photo folder, written beside the archive before any photo
// moves. The journal alone says how to finish or undo a deletion: the photo folder may then be
// half old, half new, and only the plan (never what happens to exist) tells which file belongs
// where.
struct DeletionPlan
{
    QString archiveName;
    QString photoFolder; // relative to the archive's folder
    int position = 0;    // the deleted record
    int oldCount = 0;
    int newCount = 0;
    // The new file's numbers, as this workstation saw them. The first journal, written before the
    // new file is whole, has none: they say that the journal holds a plan. Whether the deletion
    // was committed is never read from them (other workstations see other numbers).
    std::uint64_t newArchiveDevice = 0;
    std::uint64_t newArchiveInode = 0;
    bool hasPlan() const { return newArchiveInode != 0; }
    // Photo names that receive the photo of the next position, moved into the staging folder under
    // the new name. Every name between the deleted position and the last one that is not listed
    // here ends up without a file.
    QStringList renames;
    // The deleted record's photos, moved into the staging folder's trash subfolder.
    QStringList deleted;
};

QByteArray serializeDeletionPlan(const DeletionPlan& plan);
std::optional<DeletionPlan> parseDeletionPlan(const QByteArray& bytes);

// The names beside an archive. None ends in ".gdt": the list of archives is every such file.
QString deletionJournalPath(const QString& archivePath);
QString newArchivePath(const QString& archivePath);
// Folder of the photo folder that holds the photos a deletion moves, under their new names.
QString stagingFolderName(const QString& archiveName);
inline constexpr QLatin1StringView StagedTrashFolder{"cestino"};
// Where the photos of deleted records are kept when the desktop's trash cannot take them.
inline constexpr QLatin1StringView KeptPhotosFolder{"Eliminate"};

} // namespace brivanto
