#include "storage/PhotoNames.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
};

void TestPhotoNames::nameRead_data()
{
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<char>("slot"); // 0: not a photo of the archive
    QTest::addColumn<int>("position");
    const QString citta = QStringLiteral("Citt\u00E0 \u5C06");
    QTest::newRow("first") << "Grande" << "Grande_Foto_A_1.jpg" << 'A' << 1;
    QTest::newRow("slot B, long position") << "Grande" << "Grande_Foto_B_2147483647.jpg" << 'B' << 2147483647;
    QTest::newRow("beyond the largest position") << "Grande" << "Grande_Foto_B_2147483648.jpg" << '\0' << 0;
    QTest::newRow("eleven digits") << "Grande" << "Grande_Foto_A_10000000000.jpg" << '\0' << 0;
    QTest::newRow("leading zero") << "Grande" << "Grande_Foto_A_01.jpg" << '\0' << 0;
    QTest::newRow("no position") << "Grande" << "Grande_Foto_A_.jpg" << '\0' << 0;
    QTest::newRow("other slot") << "Grande" << "Grande_Foto_C_1.jpg" << '\0' << 0;
    QTest::newRow("extension in capitals") << "Grande" << "Grande_Foto_A_1.JPG" << '\0' << 0;
    QTest::newRow("more after the extension") << "Grande" << "Grande_Foto_A_1.jpg.bak" << '\0' << 0;
    QTest::newRow("sign") << "Grande" << "Grande_Foto_A_+1.jpg" << '\0' << 0;
    QTest::newRow("another archive, same start") << "Grande" << "Grande2_Foto_A_1.jpg" << '\0' << 0;
    QTest::newRow("accents and a name beyond the code page") << citta << citta + "_Foto_B_12.jpg" << 'B' << 12;
}

void TestPhotoNames::nameRead()
{
    QFETCH(QString, archive);
    QFETCH(QString, fileName);
    QFETCH(char, slot);
    QFETCH(int, position);
    const std::optional<PhotoName> name = parsePhotoFileName(fileName, archive);
    QCOMPARE(name.has_value(), slot != 0);
    if (name) {
        QCOMPARE(name->slot, slot);
        QCOMPARE(name->position, position);
        QCOMPARE(photoFileName(archive, position, slot), fileName);
    }

    // The listing reads the same name from the folder; positions outside first..last are left out.
    QTemporaryDir folder;
    QFile photo(folder.filePath(fileName));
    QVERIFY(photo.open(QIODevice::WriteOnly));
    photo.close();
    const int last = slot ? position : 5;
    const PhotosPresent present = listPhotos(folder.path(), archive, last - 1, last);
    QCOMPARE(present.has('A', last), slot == 'A');
    QCOMPARE(present.has('B', last), slot == 'B');
    QVERIFY(!present.has('A', last - 1) && !present.has('B', last - 1));
    if (slot)
        QVERIFY(!listPhotos(folder.path(), archive, position - 2, position - 1).has(slot, position));
}

void TestPhotoNames::missingFolderHasNoPhotos()
{
    const PhotosPresent present = listPhotos(QStringLiteral("/nonexistent/Foto_Gioco"), QStringLiteral("A"), 1, 3);
    QVERIFY(!present.has('A', 1) && !present.has('B', 3));
}

QTEST_GUILESS_MAIN(TestPhotoNames)
#include "tst_photo_names.moc"
