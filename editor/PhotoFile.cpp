#include "editor/PhotoFile.h"

#include "storage/FieldText.h"
#include "storage/GameArchive.h"
#include "storage/PhotoNames.h"
#include "storage/ProgramFolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

namespace brivanto {
namespace {

constexpr qint64 DecodeLimitBytes = qint64(PhotoDecodeLimitMiB) * 1024 * 1024;

bool isFileNamePart(const QString& text)
{
    return !text.isEmpty() && text != QLatin1String(".") && text != QLatin1String("..") &&
           !text.contains(QLatin1Char('/')) && !text.contains(QLatin1Char('\\')) &&
           !text.contains(QChar(u'\0'));
}

bool isPosition(const QString& text)
{
    if (text.isEmpty() || text.front() == QLatin1Char('0'))
        return false;
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

bool isStandaloneMarker(unsigned char marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8); // TEM, RSTn, SOI
}

// Whether a JPEG stream reaches its end-of-image marker. The decoder accepts a cut-off stream
// and fills the missing part with grey, so a photo file cut short by a full disk or a broken
// copy would otherwise be shown, and saved again, as a good one. Segments are skipped by their
// length (an embedded thumbnail has an end marker of its own); in entropy-coded data a 0xFF is
// followed by 0x00 or a restart marker, so the first other marker after a scan is the next
// segment. Whatever follows the end marker (padding, a camera's trailer) belongs to no picture.
bool jpegReachesEnd(const QByteArray& bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return false;
    qsizetype i = 2;
    for (;;) {
        // The next marker: 0xFF and a byte that is neither stuffing, fill nor a restart.
        unsigned char marker = 0;
        for (;;) {
            const void* found = std::memchr(data + i, 0xFF, std::size_t(size - i));
            if (!found)
                return false;
            i = static_cast<const unsigned char*>(found) - data;
            if (i + 1 >= size)
                return false;
            marker = data[i + 1];
            if (marker != 0x00 && marker != 0xFF && !(marker >= 0xD0 && marker <= 0xD7))
                break;
            ++i;
        }
        i += 2;
        if (marker == 0xD9)
            return true;
        if (isStandaloneMarker(marker))
            continue;
        if (i + 2 > size)
            return false;
        const int length = (data[i] << 8) | data[i + 1];
        if (length < 2 || i + length > size)
            return false;
        i += length;
    }
}

// The process-wide limit of Qt's image decoders, raised to ours for one read: camera photos
// exceed Qt's default.
class DecoderAllocationLimit
{
public:
    explicit DecoderAllocationLimit(int mib) : previous_(QImageReader::allocationLimit())
    {
        QImageReader::setAllocationLimit(mib);
    }
    ~DecoderAllocationLimit() { QImageReader::setAllocationLimit(previous_); }
    DecoderAllocationLimit(const DecoderAllocationLimit&) = delete;
    DecoderAllocationLimit& operator=(const DecoderAllocationLimit&) = delete;

private:
    int previous_;
};

bool exceedsDecodeLimit(const QSize& size, QImage::Format format)
{
    // At least 32 bits a pixel: most decoders hand back their pictures in such a format.
    const qint64 bytesPerPixel = std::max(32, int(QImage::toPixelFormat(format).bitsPerPixel())) / 8;
    const qint64 pixels = qint64(size.width()) * qint64(size.height());
    return pixels > DecodeLimitBytes / bytesPerPixel;
}

QByteArray encode(const QImage& image, const QByteArray& format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly))
        return {};
    QImageWriter writer(&buffer, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(image))
        return {};
    return bytes;
}

// The file holds exactly `bytes`, or keeps what it held. QSaveFile::commit() of this Qt version
// does not notice a failed final flush, so every write and the flush are checked here.
bool writeWholeFile(const QString& path, const QByteArray& bytes)
{
    if (path.isEmpty() || bytes.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting(); // the temporary file goes with `file`
        return false;
    }
    return file.commit();
}

} // namespace

QByteArray photoJpegBytes(const Photo& photo)
{
    if (photo.isNull())
        return {};
    if (!photo.jpegBytes.isEmpty())
        return photo.jpegBytes;
    return encode(photo.image, QByteArrayLiteral("jpeg"), PhotoJpegQuality);
}

namespace {

PhotoRead unreadable()
{
    return {PhotoReadStatus::Unreadable, {}};
}

} // namespace

QString photoFolder()
{
    return ProgramFolder() + PhotoFolderName;
}

bool ensurePhotoFolder()
{
    return QDir().mkpath(photoFolder());
}

QString photoFilePath(QStringView archiveName, QStringView position, PhotoSlotId slot)
{
    const QString name = trimmed(archiveName);
    const QString number = trimmed(position);
    if (!isFileNamePart(name) || !isPosition(number))
        return {};
    bool ok = false;
    const int at = number.toInt(&ok);
    if (!ok)
        return {};
    return locatePhotoFile(photoFolder(), name, at, slot == PhotoSlotId::A ? 'A' : 'B');
}

PhotoRead readPhoto(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return {PhotoReadStatus::Missing, {}};
    if (!info.isFile() || info.size() > DecodeLimitBytes)
        return unreadable();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return unreadable();

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer); // no file name: the format comes from the content
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    if (format.isEmpty())
        return unreadable();
    const bool jpeg = format == "jpeg";
    if (jpeg && !jpegReachesEnd(bytes))
        return unreadable();
    const QSize size = reader.size();
    if (size.isValid() && exceedsDecodeLimit(size, reader.imageFormat()))
        return unreadable();

    const DecoderAllocationLimit limit(PhotoDecodeLimitMiB);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return unreadable();
    return {PhotoReadStatus::Read, {image, jpeg ? bytes : QByteArray()}};
}

bool writePhotoFile(const QString& path, const Photo& photo)
{
    return writeWholeFile(path, photoJpegBytes(photo));
}

bool writePhotoCopy(const QString& path, const Photo& photo)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return writePhotoFile(path, photo);
    const QByteArray format = suffix.toLatin1();
    if (suffix.isEmpty() || !QImageWriter::supportedImageFormats().contains(format))
        return false;
    return writeWholeFile(path, encode(photo.image, format, -1));
}

} // namespace brivanto
