#include "editor/PhotoFile.h"
#include "storage/ProgramFolder.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/TestPictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <memory>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace brivanto;

namespace {

// Smooth colour ramps with a few sharp edges: something a JPEG encoder has real work on, and
// whose pixels survive it within a few levels.
QImage testPicture(QSize size, int seed = 0)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int band = ((x / 64 + y / 64 + seed) % 2) * 40;
            line[x] = qRgb((x * 200 / size.width() + band) % 256, (y * 200 / size.height() + band) % 256,
                           (seed * 70 + 60) % 256);
        }
    }
    return image;
}

// Random pixels: large once encoded, for filling a disk.
QImage noisePicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(42);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = 0xFF000000u | (random.generate() & 0xFFFFFFu);
    }
    return image;
}

QByteArray encoded(const QImage& image, const char* format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image))
        qFatal("cannot encode a test picture as %s", format);
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray formatOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QImageReader(&file).format(); // from the content, not the name
}

// How far one channel of a JPEG-encoded test picture strays from the original at the sharp
// edges; a wrong, shifted or rescaled picture strays by far more.
constexpr int JpegTolerance = 24;

// The largest difference of one colour channel between two pictures of the same size, over a
// grid of sample points.
int largestDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 256;
    int largest = 0;
    for (int y = 0; y < a.height(); y += std::max(1, a.height() / 37)) {
        for (int x = 0; x < a.width(); x += std::max(1, a.width() / 41)) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

void putBigEndian16(QByteArray& bytes, qsizetype at, quint16 value)
{
    bytes[at] = char(value >> 8);
    bytes[at + 1] = char(value & 0xFF);
}

// Just the headers of a 24-bit bitmap of that size, and a few bytes of its pixels.
QByteArray bmpClaiming(QSize size)
{
    QByteArray bytes(54 + 16, '\0');
    auto put32 = [&](int at, quint32 value) { qToLittleEndian(value, bytes.data() + at); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, quint32(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(size.width()));
    put32(22, quint32(size.height()));
    qToLittleEndian(quint16(1), bytes.data() + 26);
    qToLittleEndian(quint16(24), bytes.data() + 28);
    return bytes;
}

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngChunk(const char* type, const QByteArray& data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian(quint32(data.size()), chunk.data());
    const QByteArray body = QByteArray(type) + data;
    QByteArray crc(4, '\0');
    qToBigEndian(crc32(body), crc.data());
    return chunk + body + crc;
}

// A valid PNG header of that size followed by no pixel data at all.
QByteArray pngClaiming(QSize size)
{
    QByteArray header(13, '\0');
    qToBigEndian(quint32(size.width()), header.data());
    qToBigEndian(quint32(size.height()), header.data() + 4);
    header[8] = 8; // bits per channel
    header[9] = 2; // RGB
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + pngChunk("IHDR", header) + pngChunk("IEND", {});
}

// The JPEG with an APP1 segment of that payload right after its start marker.
QByteArray withApp1Segment(const QByteArray& jpeg, const QByteArray& payload)
{
    QByteArray segment("\xFF\xE1\0\0", 4);
    putBigEndian16(segment, 2, quint16(payload.size() + 2));
    return jpeg.left(2) + segment + payload + jpeg.mid(2);
}

// A segment holding a small picture of its own, with its own start and end markers, as cameras
// put their thumbnails.
QByteArray withThumbnailSegment(const QByteArray& jpeg)
{
    return withApp1Segment(jpeg, QByteArray("Exif\0\0", 6) + QByteArray("\xFF\xD8\xFF\xD9", 4));
}

// Exif data holding only an orientation tag: 6 is "turn a quarter clockwise to view".
QByteArray withOrientation(const QByteArray& jpeg, quint16 orientation)
{
    QByteArray tiff("MM\0\x2A\0\0\0\x08"               // big-endian header, first directory at 8
                    "\0\x01"                           // one entry
                    "\x01\x12\0\x03\0\0\0\x01\0\0\0\0" // Orientation, SHORT, 1 value
                    "\0\0\0\0",                        // no next directory
                    26);
    putBigEndian16(tiff, 18, orientation);
    return withApp1Segment(jpeg, QByteArray("Exif\0\0", 6) + tiff);
}

int runUnprivileged(const std::function<int()>& action)
{
    return brivanto::testing::runInChild(action, true);
}

void setMode(const QString& path, mode_t mode)
{
    ::chmod(QFile::encodeName(path).constData(), mode);
}

} // namespace

class TestPhotoFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void photoPath_data();
    void photoPath();
    void photoFolderIsMade_data();
    void photoFolderIsMade();
    void photoReadAtFullResolution_data();
    void photoReadAtFullResolution();
    void orientationIsApplied();
    void jpegBytesAreWrittenUnchanged_data();
    void jpegBytesAreWrittenUnchanged();
    void otherFormatsAreSavedAsJpeg_data();
    void otherFormatsAreSavedAsJpeg();
    void readStatus_data();
    void readStatus();
    void failedWriteKeepsPreviousFile_data();
    void failedWriteKeepsPreviousFile();
    void copyInTheNamedFormat_data();
    void copyInTheNamedFormat();
    void copyThatCannotBeWritten_data();
    void copyThatCannotBeWritten();

private:
    // A fresh program folder for every test, open to the unprivileged child.
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestPhotoFile::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    setMode(dir_->path(), 0777);
    setProgramFolderForTesting(dir_->path());
}

void TestPhotoFile::cleanup()
{
    setProgramFolderForTesting({});
    if (dir_)
        setMode(dir_->path(), 0777);
    dir_.reset();
}

void TestPhotoFile::photoPath_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("position");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("fileName"); // empty: no path

    const int a = int(PhotoSlotId::A);
    const int b = int(PhotoSlotId::B);
    QTest::newRow("slot A") << "Strategici"
                            << "12" << a << "Strategici_Foto_A_12.jpg";
    QTest::newRow("slot B") << "Strategici"
                            << "12" << b << "Strategici_Foto_B_12.jpg";
    QTest::newRow("tenth record") << "Strategici"
                                  << "10" << a << "Strategici_Foto_A_10.jpg";
    QTest::newRow("blanks inside kept") << "Giochi  di carte"
                                        << "3" << b << "Giochi  di carte_Foto_B_3.jpg";
    QTest::newRow("blanks around dropped") << "  Strategici \t"
                                           << " 7 " << a << "Strategici_Foto_A_7.jpg";
    QTest::newRow("accented name") << "Città"
                                   << "1" << a << "Città_Foto_A_1.jpg";
    QTest::newRow("dots inside a name") << "a..b"
                                        << "2" << a << "a..b_Foto_A_2.jpg";

    QTest::newRow("empty name") << ""
                                << "1" << a << "";
    QTest::newRow("blank name") << "   "
                                << "1" << a << "";
    QTest::newRow("slash") << "../Giochi"
                           << "1" << a << "";
    QTest::newRow("backslash") << "..\\Giochi"
                               << "1" << a << "";
    QTest::newRow("dot dot") << ".."
                             << "1" << a << "";
    QTest::newRow("dot") << "."
                         << "1" << a << "";
    QTest::newRow("nul inside") << QString::fromUtf8("Gio\0chi", 7) << "1" << a << "";
    QTest::newRow("empty position") << "Strategici"
                                    << "" << a << "";
    QTest::newRow("blank position") << "Strategici"
                                    << "  " << a << "";
    QTest::newRow("leading zero") << "Strategici"
                                  << "012" << a << "";
    QTest::newRow("zero") << "Strategici"
                          << "0" << a << "";
    QTest::newRow("negative") << "Strategici"
                              << "-1" << a << "";
    QTest::newRow("sign") << "Strategici"
                          << "+1" << a << "";
    QTest::newRow("letters") << "Strategici"
                             << "1a" << a << "";
    QTest::newRow("separator in position") << "Strategici"
                                           << "1/2" << a << "";
    QTest::newRow("blank inside position") << "Strategici"
                                           << "1 2" << a << "";
    QTest::newRow("arabic-indic digits") << "Strategici" << QString::fromUtf8("\u0661") << a << "";
}

void TestPhotoFile::photoPath()
{
    QFETCH(QString, name);
    QFETCH(QString, position);
    QFETCH(int, slot);
    QFETCH(QString, fileName);
    const QString path = photoFilePath(name, position, PhotoSlotId(slot));
    if (fileName.isEmpty()) {
        QCOMPARE(path, QString());
        return;
    }
    QCOMPARE(path, dir_->path() + "/Foto_Gioco/" + fileName);
    QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(photoFolder()).absoluteFilePath());
}

void TestPhotoFile::photoFolderIsMade_data()
{
    QTest::addColumn<QString>("programFolder"); // inside the temporary folder
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<bool>("made");
    QTest::newRow("missing with its parents") << "uno/due"
                                              << "" << true;
    QTest::newRow("already there") << ""
                                   << "folder" << true;
    QTest::newRow("a file of that name") << ""
                                         << "file" << false;
    QTest::newRow("no rights in the program folder") << ""
                                                     << "read-only" << false;
}

void TestPhotoFile::photoFolderIsMade()
{
    QFETCH(QString, programFolder);
    QFETCH(QString, setUp);
    QFETCH(bool, made);
    setProgramFolderForTesting(dir_->filePath(programFolder));
    const QString folder = dir_->filePath(programFolder) + "/Foto_Gioco";
    QCOMPARE(QFileInfo(photoFolder()).absoluteFilePath(), QFileInfo(folder).absoluteFilePath());
    if (setUp == "folder")
        QVERIFY(QDir().mkpath(folder));
    if (setUp == "file")
        writeFile(folder, "not a folder");

    bool result = false;
    if (setUp == "read-only") {
        setMode(dir_->path(), 0555);
        result = runUnprivileged([] { return ensurePhotoFolder() ? 1 : 0; }) == 1;
        setMode(dir_->path(), 0777);
    } else {
        result = ensurePhotoFolder();
    }
    QCOMPARE(result, made);
    QCOMPARE(QFileInfo(folder).isDir(), made);
}

void TestPhotoFile::photoReadAtFullResolution_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("12 megapixels") << QSize(4000, 3000);
    // Beyond the decoders' own default allocation limit.
    QTest::newRow("50 megapixels") << QSize(8688, 5792);
}

void TestPhotoFile::photoReadAtFullResolution()
{
    QFETCH(QSize, size);
    const QImage picture = testPicture(size);
    const QByteArray jpeg = encoded(picture, "jpeg");
    QVERIFY(ensurePhotoFolder());
    const QString path = photoFilePath(u"Strategici", u"1", PhotoSlotId::A);
    writeFile(path, jpeg);

    const PhotoRead read = readPhoto(path);
    QCOMPARE(read.status, PhotoReadStatus::Read);
    QCOMPARE(read.photo.image.size(), size);
    QVERIFY(read.photo.jpegBytes == jpeg);
    QCOMPARE_LE(largestDifference(read.photo.image, picture), JpegTolerance);
}

void TestPhotoFile::orientationIsApplied()
{
    // The picture is shown upright and the file keeps its tag: both ways the photo looks the same.
    const QImage picture = testPicture({64, 48});
    const QByteArray jpeg = withOrientation(encoded(picture, "jpeg"), 6);
    const QString path = dir_->filePath("ruotata.jpg");
    writeFile(path, jpeg);
    const PhotoRead read = readPhoto(path);
    QCOMPARE(read.status, PhotoReadStatus::Read);
    QCOMPARE(read.photo.image.size(), QSize(48, 64));
    QCOMPARE_LE(largestDifference(read.photo.image, picture.transformed(QTransform().rotate(90))),
                JpegTolerance);
    QVERIFY(read.photo.jpegBytes == jpeg);
}

void TestPhotoFile::jpegBytesAreWrittenUnchanged_data()
{
    QTest::addColumn<QByteArray>("jpeg");
    const QByteArray plain = encoded(testPicture({640, 480}, 1), "jpeg");
    QTest::newRow("plain") << plain;
    QTest::newRow("progressive") << encoded(testPicture({640, 480}, 2), "jpeg", true);
    QTest::newRow("zero padding after the end") << plain + QByteArray(300, '\0');
    QTest::newRow("with a thumbnail") << withThumbnailSegment(plain);
}

void TestPhotoFile::jpegBytesAreWrittenUnchanged()
{
    QFETCH(QByteArray, jpeg);
    QVERIFY(ensurePhotoFolder());
    const QString source = photoFilePath(u"Strategici", u"1", PhotoSlotId::A);
    const QString target = photoFilePath(u"Strategici", u"2", PhotoSlotId::B);
    writeFile(source, jpeg);
    writeFile(target, encoded(testPicture({32, 32}, 3), "jpeg")); // replaced whole

    // Twice round: a photo read, saved, read again and saved again stays the same file.
    for (int round = 0; round < 2; ++round) {
        const PhotoRead read = readPhoto(round == 0 ? source : target);
        QCOMPARE(read.status, PhotoReadStatus::Read);
        QVERIFY(read.photo.jpegBytes == jpeg);
        QVERIFY(writePhotoFile(target, read.photo));
        QVERIFY(readFile(target) == jpeg);
    }
    QCOMPARE(filesIn(photoFolder()), QStringList({"Strategici_Foto_A_1.jpg", "Strategici_Foto_B_2.jpg"}));
}

void TestPhotoFile::otherFormatsAreSavedAsJpeg_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("bitmap") << QByteArray("bmp");
    QTest::newRow("png") << QByteArray("png");
}

void TestPhotoFile::otherFormatsAreSavedAsJpeg()
{
    QFETCH(QByteArray, format);
    const QImage picture = testPicture({366, 260}, 4);
    const QString source = dir_->filePath("scatola." + format);
    writeFile(source, encoded(picture, format.constData()));
    QVERIFY(ensurePhotoFolder());

    const PhotoRead read = readPhoto(source);
    QCOMPARE(read.status, PhotoReadStatus::Read);
    QVERIFY(read.photo.jpegBytes.isEmpty());
    QCOMPARE(largestDifference(read.photo.image, picture), 0);

    const QString target = photoFilePath(u"Strategici", u"1", PhotoSlotId::A);
    QVERIFY(writePhotoFile(target, read.photo));
    QCOMPARE(formatOf(target), QByteArray("jpeg"));
    const PhotoRead saved = readPhoto(target);
    QCOMPARE(saved.status, PhotoReadStatus::Read);
    QVERIFY(saved.photo.jpegBytes == readFile(target));
    QCOMPARE_LE(largestDifference(saved.photo.image, picture), JpegTolerance);
}

void TestPhotoFile::readStatus_data()
{
    QTest::addColumn<QString>("kind"); // "file", "none" or "folder"
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<PhotoReadStatus>("status");

    const QByteArray jpeg = encoded(testPicture({320, 240}, 5), "jpeg");
    const QByteArray progressive = encoded(testPicture({320, 240}, 6), "jpeg", true);
    const QByteArray thumbnailed = withThumbnailSegment(jpeg);
    const auto Read = PhotoReadStatus::Read;
    const auto Unreadable = PhotoReadStatus::Unreadable;

    QTest::newRow("missing") << "none" << QByteArray() << PhotoReadStatus::Missing;
    QTest::newRow("a folder") << "folder" << QByteArray() << Unreadable;
    QTest::newRow("empty file") << "file" << QByteArray() << Unreadable;
    QTest::newRow("text") << "file" << QByteArray("Scatola del gioco\r\n") << Unreadable;

    QTest::newRow("jpeg") << "file" << jpeg << Read;
    QTest::newRow("progressive jpeg") << "file" << progressive << Read;
    QTest::newRow("jpeg with a thumbnail") << "file" << thumbnailed << Read;
    QTest::newRow("jpeg, zero padding") << "file" << jpeg + QByteArray(1000, '\0') << Read;
    QTest::newRow("jpeg, blank padding") << "file" << jpeg + "\r\n \n" << Read;
    QTest::newRow("jpeg, trailer after the end") << "file" << jpeg + QByteArray(500, 'x') << Read;

    QTest::newRow("jpeg cut in half") << "file" << jpeg.left(jpeg.size() / 2) << Unreadable;
    QTest::newRow("progressive jpeg cut in half")
        << "file" << progressive.left(progressive.size() / 2) << Unreadable;
    QTest::newRow("jpeg without its end marker") << "file" << jpeg.chopped(2) << Unreadable;
    QTest::newRow("jpeg cut, then zero padding")
        << "file" << jpeg.left(jpeg.size() * 3 / 4) + QByteArray(1000, '\0') << Unreadable;
    QTest::newRow("thumbnail whole, picture cut")
        << "file" << thumbnailed.left(thumbnailed.size() / 2) << Unreadable;
    QTest::newRow("jpeg cut inside a segment") << "file" << jpeg.left(30) << Unreadable;
    QTest::newRow("jpeg start and end only")
        << "file" << jpeg.left(2) + QByteArray(jpeg.size() - 4, '\x55') + jpeg.right(2) << Unreadable;
    QTest::newRow("jpeg claiming 20000x20000") << "file" << jpegClaiming({20000, 20000}) << Unreadable;
    QTest::newRow("jpeg claiming 12000x12000") << "file" << jpegClaiming({12000, 12000}) << Unreadable;

    QTest::newRow("bitmap") << "file" << encoded(testPicture({40, 30}), "bmp") << Read;
    QTest::newRow("png") << "file" << encoded(testPicture({40, 30}), "png") << Read;
    QTest::newRow("bitmap claiming 20000x20000") << "file" << bmpClaiming({20000, 20000}) << Unreadable;
    QTest::newRow("png claiming 20000x20000") << "file" << pngClaiming({20000, 20000}) << Unreadable;
    QTest::newRow("png cut in half") << "file" << encoded(testPicture({40, 30}), "png").left(60)
                                     << Unreadable;
}

void TestPhotoFile::readStatus()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(PhotoReadStatus, status);
    // An extension that names no format of the content: formats are known from the content.
    const QString path = dir_->filePath("foto.dat");
    if (kind == "file")
        writeFile(path, content);
    if (kind == "folder")
        QVERIFY(QDir().mkpath(path));

    const PhotoRead read = readPhoto(path);
    QCOMPARE(read.status, status);
    QCOMPARE(read.photo.isNull(), status != PhotoReadStatus::Read);
    const bool isJpeg = content.startsWith("\xFF\xD8");
    QVERIFY(read.photo.jpegBytes == (status == PhotoReadStatus::Read && isJpeg ? content : QByteArray()));
}

void TestPhotoFile::failedWriteKeepsPreviousFile_data()
{
    QTest::addColumn<bool>("keptBytes"); // the new photo carries its JPEG bytes
    QTest::addColumn<int>("side");       // of the new picture, made of noise
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::addColumn<qint64>("fileSizeLimit"); // 0: none
    QTest::addColumn<bool>("written");
    QTest::newRow("read-only folder, kept bytes") << true << 300 << true << qint64(0) << false;
    QTest::newRow("read-only folder, encoded") << false << 300 << true << qint64(0) << false;
    QTest::newRow("full disk, kept bytes") << true << 300 << false << qint64(4096) << false;
    QTest::newRow("full disk, encoded") << false << 300 << false << qint64(4096) << false;
    // Smaller than the file's write buffer: the failure shows only when the buffer is flushed.
    QTest::newRow("full disk, small photo, kept bytes") << true << 80 << false << qint64(2048) << false;
    QTest::newRow("full disk, small photo, encoded") << false << 80 << false << qint64(2048) << false;
    // The same child with room to write: the failures above come from the folder and the disk.
    QTest::newRow("room to write, kept bytes") << true << 300 << false << qint64(0) << true;
    QTest::newRow("room to write, encoded") << false << 80 << false << qint64(0) << true;
}

void TestPhotoFile::failedWriteKeepsPreviousFile()
{
    QFETCH(bool, keptBytes);
    QFETCH(int, side);
    QFETCH(bool, readOnlyFolder);
    QFETCH(qint64, fileSizeLimit);
    QFETCH(bool, written);

    QVERIFY(ensurePhotoFolder());
    setMode(photoFolder(), 0777);
    const QString path = photoFilePath(u"Strategici", u"3", PhotoSlotId::A);
    const QByteArray previous = encoded(testPicture({366, 260}, 7), "jpeg");
    writeFile(path, previous);
    setMode(path, 0666);

    const QImage noise = noisePicture({side, side});
    const Photo photo{noise, keptBytes ? encoded(noise, "jpeg") : QByteArray()};
    const qsizetype size = encoded(noise, "jpeg").size();
    QVERIFY2(size > 2 * fileSizeLimit, qPrintable(QString::number(size)));
    if (readOnlyFolder)
        setMode(photoFolder(), 0555);
    const int result = runUnprivileged([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit fileSize{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
        if (fileSizeLimit > 0 && ::setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
            return 91;
        return writePhotoFile(path, photo) ? 1 : 0;
    });
    setMode(photoFolder(), 0777);

    QCOMPARE(result, written ? 1 : 0);
    QCOMPARE(filesIn(photoFolder()), QStringList({"Strategici_Foto_A_3.jpg"}));
    if (!written) {
        QVERIFY(readFile(path) == previous);
        return;
    }
    const PhotoRead read = readPhoto(path);
    QCOMPARE(read.status, PhotoReadStatus::Read);
    QCOMPARE(read.photo.image.size(), noise.size());
    if (keptBytes)
        QVERIFY(readFile(path) == photo.jpegBytes);
}

void TestPhotoFile::copyInTheNamedFormat_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("fromJpeg"); // the photo was read from a JPEG file
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<bool>("lossless");
    QTest::newRow("jpg keeps the bytes") << "Foto.jpg" << true << QByteArray("jpeg") << false;
    QTest::newRow("capital JPEG keeps the bytes") << "Foto.JPEG" << true << QByteArray("jpeg") << false;
    QTest::newRow("jpg encoded") << "Foto.jpg" << false << QByteArray("jpeg") << false;
    QTest::newRow("bmp") << "Foto.bmp" << true << QByteArray("bmp") << true;
    QTest::newRow("png") << "scatola.png" << false << QByteArray("png") << true;
    QTest::newRow("last extension counts") << "Foto.jpg.png" << true << QByteArray("png") << true;
}

void TestPhotoFile::copyInTheNamedFormat()
{
    QFETCH(QString, fileName);
    QFETCH(bool, fromJpeg);
    QFETCH(QByteArray, format);
    QFETCH(bool, lossless);
    const QString source = dir_->filePath(fromJpeg ? "sorgente.jpg" : "sorgente.bmp");
    writeFile(source, encoded(testPicture({366, 260}, 8), fromJpeg ? "jpeg" : "bmp"));
    const Photo photo = readPhoto(source).photo;
    QVERIFY(!photo.isNull());
    QCOMPARE(photo.jpegBytes.isEmpty(), !fromJpeg);

    const QString path = dir_->filePath("copie/" + fileName);
    QVERIFY(QDir().mkpath(dir_->filePath("copie")));
    writeFile(path, "an older copy"); // replaced whole
    QVERIFY(writePhotoCopy(path, photo));
    QCOMPARE(filesIn(dir_->filePath("copie")), QStringList({fileName}));
    QCOMPARE(formatOf(path), format);
    if (format == "jpeg" && fromJpeg)
        QVERIFY(readFile(path) == photo.jpegBytes);
    const QImage copy(path, format.constData());
    QCOMPARE(copy.size(), photo.image.size());
    QCOMPARE_LE(largestDifference(copy, photo.image), lossless ? 0 : JpegTolerance);
}

void TestPhotoFile::copyThatCannotBeWritten_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("nullPhoto");
    QTest::newRow("extension without an encoder") << "Foto.xyz" << false;
    QTest::newRow("no extension") << "Foto" << false;
    QTest::newRow("reader-only format") << "Foto.gif" << false;
    QTest::newRow("missing folder") << "manca/Foto.png" << false;
    QTest::newRow("a folder of that name") << "cartella.jpg" << false;
    QTest::newRow("no picture") << "Foto.jpg" << true;
    QTest::newRow("no picture, png") << "Foto.png" << true;
}

void TestPhotoFile::copyThatCannotBeWritten()
{
    QFETCH(QString, fileName);
    QFETCH(bool, nullPhoto);
    QVERIFY(QDir().mkpath(dir_->filePath("cartella.jpg")));
    const QStringList before = filesIn(dir_->path());
    const QImage picture = testPicture({64, 48});
    const Photo photo = nullPhoto ? Photo{} : Photo{picture, encoded(picture, "jpeg")};

    QVERIFY(!writePhotoCopy(dir_->filePath(fileName), photo));
    QCOMPARE(filesIn(dir_->path()), before);
    QVERIFY(filesIn(dir_->filePath("cartella.jpg")).isEmpty());
    if (nullPhoto) {
        QVERIFY(!writePhotoFile(dir_->filePath(fileName), photo));
        QCOMPARE(filesIn(dir_->path()), before);
    }
}

QTEST_GUILESS_MAIN(TestPhotoFile)
#include "tst_photo_file.moc"
