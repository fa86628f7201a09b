#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace brivanto {

// The file name (no folder) of a record's photo in the photo folder:
// <archive name>_Foto_A_<position>.jpg, or _Foto_B_. The position is written in decimal without
// leading zeros; `slot` is 'A' or 'B'. The record's only link to its photos is this name.
//
// The extension is read in any letter case: a camera, another operating system or a file
// system that does not tell case apart may have written ".JPG", and that file is the same
// photo. `spelling` says which letters of "jpg" are capitals (bit 0 the j, bit 1 the p, bit 2
// the g): 0 is ".jpg", which is what this program writes for a new photo.
inline constexpr int PhotoSpellings = 8;
QString photoFileName(QStringView archiveName, int position, char slot, int spelling = 0);
// The same, with the position as its decimal text (the caller has checked it).
QString photoFileName(QStringView archiveName, QStringView position, char slot, int spelling = 0);

// The slot, position and extension spelling of a photo file name of `archiveName`, as
// photoFileName builds it; empty for any other name (another archive's photos, leading zeros,
// other extensions).
struct PhotoName
{
    char slot;
    int position;
    int spelling = 0;
};
std::optional<PhotoName> parsePhotoFileName(QStringView fileName, QStringView archiveName);

// Which of the positions first..last have a photo in each slot, and under which spellings of
// its extension. Where a folder holds more than one spelling of a photo (a case-sensitive file
// system can), the photo shown is the lowest spelling: ".jpg" before ".JPG".
struct PhotosPresent
{
    int first = 0;
    // One byte a position: bit k set when the folder holds the photo with spelling k.
    std::vector<std::uint8_t> a, b;
    std::uint8_t spellings(char slot, int position) const
    {
        const std::size_t i = std::size_t(position - first);
        const auto& side = slot == 'A' ? a : b;
        return position >= first && i < side.size() ? side[i] : 0;
    }
    bool has(char slot, int position) const { return spellings(slot, position) != 0; }
    // The spelling of the photo shown; 0 when there is none.
    int shownSpelling(char slot, int position) const;
};

// One listing of `folder`: a folder holding the photos of a hundred thousand games is read in a
// few tens of milliseconds, without sorting or a query per file. A folder that does not exist
// holds no photos; a folder that exists but cannot be read is not an empty one: empty result
// and `ok` false.
struct PhotoListing
{
    PhotosPresent photos;
    bool ok = true;
};
PhotoListing listPhotos(const QString& folder, const QString& archiveName, int first, int last);

// The path of the photo file of `position` and `slot` in `folder`: the one the folder holds, in
// whatever spelling it has (".jpg" first), or the ".jpg" name when there is none yet.
QString locatePhotoFile(const QString& folder, QStringView archiveName, int position, char slot);

} // namespace brivanto
