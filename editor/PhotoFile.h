#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringView>

namespace brivanto {

// The two photos of a game record: A, usually the box, and B, its contents.
enum class PhotoSlotId
{
    A,
    B
};

// The JPEG quality of photos that have to be encoded (a picture loaded from another format, a
// capture, a default picture): high enough that a game's small print stays legible.
inline constexpr int PhotoJpegQuality = 92;

// The most memory a picture may take once decoded, in MiB. A 50-megapixel camera photo takes
// about 200 MB at 32 bits a pixel and 400 MB at 64; anything larger is refused before its pixels
// are allocated. No photo file larger than this is read either.
inline constexpr int PhotoDecodeLimitMiB = 400;

// ProgramFolder() + "Foto_Gioco".
QString photoFolder();

// Creates the photo folder with any missing parent; false when it cannot.
bool ensurePhotoFolder();

// <photo folder>/<trimmed archive name>_Foto_A_<trimmed position>.jpg (or _Foto_B_), with the
// extension spelt as the file the folder holds spells it (".JPG" is the same photo). Empty when
// the name or the position cannot make one file of the photo folder: empty after trimming, holds
// a '/', '\\' or NUL, or is "." or ".."; the position must be decimal digits without leading zeros
// (records count from 1). Blanks inside the archive name are kept.
QString photoFilePath(QStringView archiveName, QStringView position, PhotoSlotId slot);

// A picture of a photo slot at full resolution, with the exact JPEG bytes it was decoded from
// while it is unchanged, so that saving a photo never re-encodes (and never degrades) it. Code
// that changes `image` clears `jpegBytes`.
struct Photo
{
    QImage image;
    QByteArray jpegBytes; // empty unless `image` was decoded from these JPEG bytes
    bool isNull() const { return image.isNull(); }
};

enum class PhotoReadStatus
{
    Read,
    Missing,
    Unreadable
};

struct PhotoRead
{
    PhotoReadStatus status;
    Photo photo;
};

// Reads any format the image decoders know, recognised from the content; the bytes are kept for
// JPEG only. A JPEG's orientation tag is applied to the picture. A missing file is Missing. A
// file that is not an image, is damaged, is a JPEG whose stream stops before its end-of-image
// marker (what follows the marker is ignored), or whose picture would exceed
// PhotoDecodeLimitMiB is Unreadable; an oversized picture is refused from its header, before its
// pixels are allocated.
PhotoRead readPhoto(const QString& path);

// The JPEG bytes of a photo file: `jpegBytes` as they are when present, else `image` encoded at
// PhotoJpegQuality; empty for a null photo.
QByteArray photoJpegBytes(const Photo& photo);

// Writes a photo file whole: into a temporary file of the same folder, renamed over the old one
// at the end. Writes `jpegBytes` as they are when present, else encodes `image` as JPEG at
// PhotoJpegQuality. False on any failure (a null photo included); the previous file is then
// untouched and no temporary file is left behind.
bool writePhotoFile(const QString& path, const Photo& photo);

// A free copy anywhere the user chooses, in the format its extension names: ".jpg" and ".jpeg"
// as writePhotoFile does, other extensions (".png", ".bmp" …) encoded by their encoder. No
// extension, or one without an encoder, fails without creating anything. Same whole-file
// guarantee as writePhotoFile.
bool writePhotoCopy(const QString& path, const Photo& photo);

} // namespace brivanto
