#include "storage/PhotoNames.h"

#include "tests/support/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace brivanto;

// A record's only link to its photos is their file name: the deletion and the export find them
// by it, from a listing of the folder or from one name, and both must read a name alike.
class TestPhotoNames : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void nameRead_data();
    void nameRead();
    void missingFolderHasNoPhotos();
    void folderThatCannotBeReadIsNoEmptyFolder();
    void photoFoundWhateverTheCaseOfItsExtension();
};

void TestPhotoNames::nameRead_data()
{
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<char>("slot"); // 0: not a photo of the archive
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("spelling"); // which letters of "jpg" are capitals
    const QString citta = QStringLiteral("Citt\u00E0 \u5C06");
    QTest::newRow("first") << "Grande"
                           << "Grande_Foto_A_1.jpg" << 'A' << 1 << 0;
    QTest::newRow("slot B, long position") << "Grande"
                                           << "Grande_Foto_B_2147483647.jpg" << 'B' << 2147483647 << 0;
    QTest::newRow("beyond the largest position") << "Grande"
                                                 << "Grande_Foto_B_2147483648.jpg" << '\0' << 0 << 0;
    QTest::newRow("eleven digits") << "Grande"
                                   << "Grande_Foto_A_10000000000.jpg" << '\0' << 0 << 0;
    QTest::newRow("leading zero") << "Grande"
                                  << "Grande_Foto_A_01.jpg" << '\0' << 0 << 0;
    QTest::newRow("no position") << "Grande"
                                 << "Grande_Foto_A_.jpg" << '\0' << 0 << 0;
    QTest::newRow("other slot") << "Grande"
                                << "Grande_Foto_C_1.jpg" << '\0' << 0 << 0;
    QTest::newRow("extension in capitals") << "Grande"
                                           << "Grande_Foto_A_1.JPG" << 'A' << 1 << 7;
    QTest::newRow("extension with a capital J") << "Grande"
                                                << "Grande_Foto_B_3.Jpg" << 'B' << 3 << 1;
    QTest::newRow("another extension in capitals") << "Grande"
                                                   << "Grande_Foto_A_1.JPEG" << '\0' << 0 << 0;
    QTest::newRow("more after the extension") << "Grande"
                                              << "Grande_Foto_A_1.jpg.bak" << '\0' << 0 << 0;
    QTest::newRow("sign") << "Grande"
                          << "Grande_Foto_A_+1.jpg" << '\0' << 0 << 0;
    QTest::newRow("another archive, same start") << "Grande"
                                                 << "Grande2_Foto_A_1.jpg" << '\0' << 0 << 0;
    QTest::newRow("accents and a name beyond the code page")
        << citta << citta + "_Foto_B_12.jpg" << 'B' << 12 << 0;
}

void TestPhotoNames::nameRead()
{
    QFETCH(QString, archive);
    QFETCH(QString, fileName);
    QFETCH(char, slot);
    QFETCH(int, position);
    QFETCH(int, spelling);
    const std::optional<PhotoName> name = parsePhotoFileName(fileName, archive);
    QCOMPARE(name.has_value(), slot != 0);
    if (name) {
        QCOMPARE(name->slot, slot);
        QCOMPARE(name->position, position);
        QCOMPARE(name->spelling, spelling);
        QCOMPARE(photoFileName(archive, position, slot, spelling), fileName);
    }

    // The listing reads the same name from the folder; positions outside first..last are left out.
    QTemporaryDir folder;
    QFile photo(folder.filePath(fileName));
    QVERIFY(photo.open(QIODevice::WriteOnly));
    photo.close();
    const int last = slot ? position : 5;
    const PhotoListing listing = listPhotos(folder.path(), archive, last - 1, last);
    QVERIFY(listing.ok);
    const PhotosPresent& present = listing.photos;
    QCOMPARE(present.has('A', last), slot == 'A');
    QCOMPARE(present.has('B', last), slot == 'B');
    if (slot)
        QCOMPARE(present.shownSpelling(slot, last), spelling);
    QVERIFY(!present.has('A', last - 1) && !present.has('B', last - 1));
    if (slot)
        QVERIFY(!listPhotos(folder.path(), archive, position - 2, position - 1).photos.has(slot, position));
}

void TestPhotoNames::missingFolderHasNoPhotos()
{
    const PhotoListing listing =
        listPhotos(QStringLiteral("/nonexistent/Foto_Gioco"), QStringLiteral("A"), 1, 3);
    QVERIFY(listing.ok);
    QVERIFY(!listing.photos.has('A', 1) && !listing.photos.has('B', 3));
}

void TestPhotoNames::folderThatCannotBeReadIsNoEmptyFolder()
{
    // The folder may be entered but not listed (mode 0333), by a user other than root.
    QTemporaryDir folder;
    QFile photo(folder.filePath(QStringLiteral("A_Foto_A_1.jpg")));
    QVERIFY(photo.open(QIODevice::WriteOnly));
    photo.close();
    const QByteArray path = QFile::encodeName(folder.path());
    ::chmod(path.constData(), 0333);
    const int listed = brivanto::testing::runInChild(
        [&] {
            const PhotoListing listing = listPhotos(folder.path(), QStringLiteral("A"), 1, 3);
            return listing.ok ? 1 : listing.photos.has('A', 1) ? 2 : 0;
        },
        true);
    ::chmod(path.constData(), 0700);
    QCOMPARE(listed, 0);
}

void TestPhotoNames::photoFoundWhateverTheCaseOfItsExtension()
{
    QTemporaryDir folder;
    const auto make = [&](const QString& name) {
        QFile photo(folder.filePath(name));
        QVERIFY(photo.open(QIODevice::WriteOnly));
    };
    QCOMPARE(locatePhotoFile(folder.path(), u"Grande", 1, 'A'),
             folder.filePath(QStringLiteral("Grande_Foto_A_1.jpg")));
    make(QStringLiteral("Grande_Foto_A_1.JPG"));
    QCOMPARE(locatePhotoFile(folder.path(), u"Grande", 1, 'A'),
             folder.filePath(QStringLiteral("Grande_Foto_A_1.JPG")));
    // Both spellings on a file system that tells them apart: ".jpg" is the photo shown.
    make(QStringLiteral("Grande_Foto_A_1.jpg"));
    QCOMPARE(locatePhotoFile(folder.path(), u"Grande", 1, 'A'),
             folder.filePath(QStringLiteral("Grande_Foto_A_1.jpg")));
    QCOMPARE(listPhotos(folder.path(), QStringLiteral("Grande"), 1, 1).photos.spellings('A', 1),
             std::uint8_t(0b10000001));
    QCOMPARE(locatePhotoFile(folder.path(), u"Grande", 1, 'B'),
             folder.filePath(QStringLiteral("Grande_Foto_B_1.jpg")));
}

QTEST_GUILESS_MAIN(TestPhotoNames)
#include "tst_photo_names.moc"
