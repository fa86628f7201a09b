#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace brivanto {

// The file name (no folder) of a record's photo in the photo folder:
// <archive name>_Foto_A_<position>.jpg, or _Foto_B_. The position is written in decimal without
// leading zeros; `slot` is 'A' or 'B'. The record's only link to its photos is this name.
QString photoFileName(QStringView archiveName, int position, char slot);
// The same, with the position as its decimal text (the caller has checked it).
QString photoFileName(QStringView archiveName, QStringView position, char slot);

// The slot and position of a photo file name of `archiveName`, as photoFileName builds it; empty
// for any other name (another archive's photos, leading zeros, other extensions).
struct PhotoName
{
    char slot;
    int position;
};
std::optional<PhotoName> parsePhotoFileName(QStringView fileName, QStringView archiveName);

// Which of the positions first..last have a photo in each slot.
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

// One listing of `folder` (none when it does not exist): a folder holding the photos of a hundred
// thousand games is read in a few tens of milliseconds, without sorting or a query per file.
PhotosPresent listPhotos(const QString& folder, const QString& archiveName, int first, int last);

} // namespace brivanto
