#include "help/Help.h"
#include "media/CaptureScreen.h"
#include "media/ZoomWindow.h"
#include "platform/PhotoView.h"

#include "tests/editor/EditorFixture.h"
#include "tests/support/ModalWindows.h"

#include <QDialog>
#include <QImageReader>
#include <QScreen>
#include <QTimer>

using namespace brivanto;
using platform::MessageKind;

namespace {
const QString PhotosNotSaved = QString::fromUtf8(
    "Attenzione: la scheda è stata salvata in archivio, ma non è stato possibile salvare le foto.\r\n\r\n"
    "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma e "
    "premere "
    "di nuovo il pulsante di salvataggio.");

QImage defaultPicture(const EditorFixture& f, PhotoSlotId slot)
{
    return child<platform::PhotoView>(&f.editor, slot == PhotoSlotId::A ? "imgBianco" : "imgBianco02")
        ->image();
}

} // namespace

// The two photo slots: their files, the photo buttons, zoom and capture.
class TestEditorPhotos : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void newRecordSavesDefaultPictures();
    void loadedPhotosKeepResolutionAndJpegBytes();
    void unchangedPhotosAreNotRewritten();
    void eachSlotLoadsOnItsOwn_data();
    void eachSlotLoadsOnItsOwn();
    void clearingTouchesNoFileUntilSaved();
    void photoThatCannotBeWrittenKeepsThePictures();
    void photoFolderThatCannotBeCreated();
    void loadingANonImageGivesTheDefaultPicture();
    void saveCopyWritesTheChosenFile();
    void failedSaveCopyKeepsThePicture();
    void archiveNameWithBlanks();
    void zoomShowsACopyScaledToTheScreen();
    void captureOpensForItsSlot_data();
    void captureOpensForItsSlot();
    void helpShowsTheEditorTopic();
};

void TestEditorPhotos::newRecordSavesDefaultPictures()
{
    EditorFixture f(0);
    f.fillMandatory();
    f.press("cmdSalva");
    QCOMPARE(f.messages(), QStringList{Appended});
    for (char slot : {'A', 'B'}) {
        const QImage written(f.photoPath(slot, 1));
        QCOMPARE(written.size(), QSize(366, 260));
        QCOMPARE(QImageReader(f.photoPath(slot, 1)).format(), QByteArray("jpeg"));
    }
    QCOMPARE(QDir(f.folder.path("Foto_Gioco")).entryList(QDir::Files).size(), 2);
}

void TestEditorPhotos::loadedPhotosKeepResolutionAndJpegBytes()
{
    EditorFixture f(0);
    const QByteArray jpeg = jpegOf(QSize(4000, 3000));
    f.folder.writeFile("scatola.jpg", jpeg);
    f.folder.writeFile("contenuto.bmp", jpegOf(QSize(1200, 900), 2, "BMP"));
    f.folder.platform.dialogs.chooseNext(f.folder.path("scatola.jpg"));
    f.press("btnCaricaFoto");
    f.folder.platform.dialogs.chooseNext(f.folder.path("contenuto.bmp"));
    f.press("btnCaricaFoto02");

    const platform::FileDialogRequest& request = f.folder.platform.dialogs.requests().front();
    QCOMPARE(request.title, "Selezionare un file di immagine in formato Jpeg o Bitmap.");
    QCOMPARE(request.filters, (QStringList{"Immagine JPEG (*.jpg; *.jpeg)", "Immagine Bitmap (*.bmp)"}));
    QCOMPARE(f.editor.photo(PhotoSlotId::A).size(), QSize(4000, 3000));

    f.fillMandatory();
    f.press("cmdSalva");
    QCOMPARE(f.fileBytes(f.photoPath('A', 1)), jpeg); // no quality lost to a re-encoding
    QCOMPARE(QImageReader(f.photoPath('B', 1)).format(), QByteArray("jpeg"));
    QCOMPARE(QImage(f.photoPath('B', 1)).size(), QSize(1200, 900));

    f.press("cmdNuovo");
    QCOMPARE(f.editor.photo(PhotoSlotId::A), defaultPicture(f, PhotoSlotId::A));
    f.press("cmdPrimo");
    QCOMPARE(f.editor.photo(PhotoSlotId::A).size(), QSize(4000, 3000));
    QCOMPARE(f.editor.photo(PhotoSlotId::B).size(), QSize(1200, 900));
}

void TestEditorPhotos::unchangedPhotosAreNotRewritten()
{
    EditorFixture f(2);
    const QByteArray a = jpegOf(QSize(640, 480), 3);
    const QByteArray b = jpegOf(QSize(480, 640), 4);
    f.folder.writeFile("Foto_Gioco/Giochi rari_Foto_A_2.jpg", a);
    f.folder.writeFile("Foto_Gioco/Giochi rari_Foto_B_2.jpg", b);
    f.press("cmdUltimo");
    for (int save = 0; save < 3; ++save) {
        f.edit("txtNote")->setText(QString("correzione %1").arg(save));
        f.press("cmdSalva");
    }
    QCOMPARE(f.fileBytes(f.photoPath('A', 2)), a);
    QCOMPARE(f.fileBytes(f.photoPath('B', 2)), b);
    QCOMPARE(f.messages(), QStringList(3, Overwritten));
}

void TestEditorPhotos::eachSlotLoadsOnItsOwn_data()
{
    QTest::addColumn<QByteArray>("fileA"); // empty: no file
    QTest::addColumn<QByteArray>("fileB");
    QTest::addColumn<bool>("readableA");
    QTest::addColumn<bool>("readableB");
    const QByteArray good = jpegOf(QSize(800, 600), 5);
    const QByteArray truncated = jpegOf(QSize(800, 600), 6).left(3000);
    QTest::newRow("A missing") << QByteArray() << good << false << true;
    QTest::newRow("B missing") << good << QByteArray() << true << false;
    QTest::newRow("A not an image") << QByteArray("not a picture") << good << false << true;
    QTest::newRow("B truncated") << good << truncated << true << false;
}

void TestEditorPhotos::eachSlotLoadsOnItsOwn()
{
    QFETCH(QByteArray, fileA);
    QFETCH(QByteArray, fileB);
    QFETCH(bool, readableA);
    QFETCH(bool, readableB);
    EditorFixture f(1);
    if (!fileA.isEmpty())
        f.folder.writeFile("Foto_Gioco/Giochi rari_Foto_A_1.jpg", fileA);
    if (!fileB.isEmpty())
        f.folder.writeFile("Foto_Gioco/Giochi rari_Foto_B_1.jpg", fileB);
    f.press("cmdPrimo");
    QCOMPARE(f.messages(), QStringList());

    const std::tuple<PhotoSlotId, QByteArray, bool> slots[] = {{PhotoSlotId::A, fileA, readableA},
                                                               {PhotoSlotId::B, fileB, readableB}};
    for (const auto& [slot, bytes, readable] : slots) {
        QCOMPARE(f.editor.photo(slot) == defaultPicture(f, slot), !readable);
        if (readable)
            QCOMPARE(f.editor.photo(slot).size(), QSize(800, 600));
    }

    // Saving writes a missing file and leaves a file it could not read as it is.
    f.press("cmdSalva");
    for (const auto& [slot, bytes, readable] : slots) {
        const QString path = f.photoPath(slot == PhotoSlotId::A ? 'A' : 'B', 1);
        if (bytes.isEmpty())
            QCOMPARE(QImage(path).size(), QSize(366, 260));
        else
            QCOMPARE(f.fileBytes(path), bytes);
    }
}

void TestEditorPhotos::clearingTouchesNoFileUntilSaved()
{
    EditorFixture f(1);
    const QByteArray b = jpegOf(QSize(300, 200), 7);
    f.folder.writeFile("Foto_Gioco/Giochi rari_Foto_A_1.jpg", jpegOf(QSize(300, 200), 8));
    f.folder.writeFile("Foto_Gioco/Giochi rari_Foto_B_1.jpg", b);
    f.press("cmdPrimo");
    f.press("btnCancFoto02");
    QCOMPARE(f.editor.photo(PhotoSlotId::B), defaultPicture(f, PhotoSlotId::B));
    f.folder.platform.messages.answerNext(brivanto::platform::Answer::No); // the clearing is dropped
    f.press("cmdNuovo");
    QCOMPARE(f.messages(), QStringList{"Salvare le modifiche alla scheda corrente?"});
    f.press("cmdPrimo");
    QCOMPARE(f.fileBytes(f.photoPath('B', 1)), b);
    QCOMPARE(f.editor.photo(PhotoSlotId::B).size(), QSize(300, 200));

    f.press("btnCancFoto02");
    f.press("cmdSalva");
    QCOMPARE(QImage(f.photoPath('B', 1)).size(), QSize(366, 260));
    QCOMPARE(QImage(f.photoPath('A', 1)).size(), QSize(300, 200));
}

void TestEditorPhotos::photoThatCannotBeWrittenKeepsThePictures()
{
    EditorFixture f(0);
    f.folder.writeFile("scatola.jpg", jpegOf(QSize(1000, 800), 9));
    f.folder.platform.dialogs.chooseNext(f.folder.path("scatola.jpg"));
    f.press("btnCaricaFoto");
    QVERIFY(QDir().mkpath(f.photoPath('A', 1))); // a folder stands where the photo goes
    f.fillMandatory();
    f.press("cmdSalva");

    QCOMPARE(f.messages(), (QStringList{Appended, PhotosNotSaved}));
    QCOMPARE(f.folder.platform.messages.shown().back().kind, MessageKind::Warning);
    QCOMPARE(f.archiveBytes().size(), 3376); // the record stays saved
    QCOMPARE(f.position(), "1");
    QCOMPARE(f.editor.photo(PhotoSlotId::A).size(), QSize(1000, 800)); // ready to be saved again

    QVERIFY(QDir().rmdir(f.photoPath('A', 1)));
    f.press("cmdSalva");
    QCOMPARE(f.messages().back(), Overwritten);
    QCOMPARE(f.fileBytes(f.photoPath('A', 1)), f.fileBytes(f.folder.path("scatola.jpg")));
}

void TestEditorPhotos::photoFolderThatCannotBeCreated()
{
    EditorFixture f(1);
    f.folder.writeFile("Foto_Gioco", "a file, not a folder");
    f.press("cmdPrimo");
    QCOMPARE(f.messages(), QStringList());
    QCOMPARE(f.editor.photo(PhotoSlotId::A), defaultPicture(f, PhotoSlotId::A));
    f.press("cmdSalva");
    QCOMPARE(f.messages(), (QStringList{Overwritten, PhotosNotSaved}));
}

void TestEditorPhotos::loadingANonImageGivesTheDefaultPicture()
{
    EditorFixture f(0);
    f.folder.writeFile("scatola.jpg", jpegOf(QSize(500, 400), 10));
    f.folder.writeFile("note.jpg", "testo, non una foto");
    f.folder.platform.dialogs.chooseNext(f.folder.path("scatola.jpg"));
    f.press("btnCaricaFoto");
    f.folder.platform.dialogs.chooseNext(f.folder.path("note.jpg"));
    f.press("btnCaricaFoto");
    QCOMPARE(f.editor.photo(PhotoSlotId::A), defaultPicture(f, PhotoSlotId::A));
    QCOMPARE(f.messages(), QStringList());

    f.press("btnCaricaFoto02"); // cancelled: nothing changes
    QCOMPARE(f.editor.photo(PhotoSlotId::B), defaultPicture(f, PhotoSlotId::B));
}

void TestEditorPhotos::saveCopyWritesTheChosenFile()
{
    EditorFixture f(0);
    const QByteArray jpeg = jpegOf(QSize(900, 700), 11);
    f.folder.writeFile("scatola.jpg", jpeg);
    f.folder.platform.dialogs.chooseNext(f.folder.path("scatola.jpg"));
    f.press("btnCaricaFoto");
    f.folder.platform.dialogs.chooseNext(f.folder.path("copia"));
    f.press("btnSalvaFoto");

    const platform::FileDialogRequest& request = f.folder.platform.dialogs.requests().back();
    QCOMPARE(request.title, "Selezionare la cartella in cui si desidera salvare il file Jpeg.");
    QCOMPARE(request.filters, QStringList{"File Jpeg (*.jpg)"});
    QCOMPARE(request.initialName, "Foto.jpg");
    QCOMPARE(request.defaultExtension, "jpg");
    QVERIFY(request.askBeforeReplacing);
    QCOMPARE(f.fileBytes(f.folder.path("copia.jpg")), jpeg);
    QVERIFY(!QDir(f.folder.path("Foto_Gioco")).exists() || QDir(f.folder.path("Foto_Gioco")).isEmpty());

    f.folder.platform.dialogs.chooseNext(f.folder.path("predefinita.jpg"));
    f.press("btnSalvaFoto02");
    QCOMPARE(QImage(f.folder.path("predefinita.jpg")).size(), QSize(366, 260));
    QCOMPARE(f.messages(), QStringList());
}

void TestEditorPhotos::failedSaveCopyKeepsThePicture()
{
    EditorFixture f(0);
    f.folder.writeFile("scatola.jpg", jpegOf(QSize(900, 700), 12));
    f.folder.platform.dialogs.chooseNext(f.folder.path("scatola.jpg"));
    f.press("btnCaricaFoto");
    f.folder.platform.dialogs.chooseNext(f.folder.path("manca/copia.jpg"));
    f.press("btnSalvaFoto");
    QCOMPARE(f.messages().size(), 1);
    QVERIFY(f.messages().front().startsWith("Attenzione: "));
    QCOMPARE(f.folder.platform.messages.shown().front().kind, MessageKind::Warning);
    QCOMPARE(f.editor.photo(PhotoSlotId::A).size(), QSize(900, 700));
}

void TestEditorPhotos::archiveNameWithBlanks()
{
    EditorFixture f(0, "Giochi di carte");
    f.editor.setArchive(f.archivePath(), "  Giochi di carte ");
    f.fillMandatory();
    f.press("cmdSalva");
    QVERIFY(QFile::exists(f.folder.path("Foto_Gioco/Giochi di carte_Foto_A_1.jpg")));
    QVERIFY(QFile::exists(f.folder.path("Foto_Gioco/Giochi di carte_Foto_B_1.jpg")));
}

void TestEditorPhotos::zoomShowsACopyScaledToTheScreen()
{
    EditorFixture f(0);
    f.folder.writeFile("scatola.jpg", jpegOf(QSize(4000, 3000), 13));
    f.folder.platform.dialogs.chooseNext(f.folder.path("scatola.jpg"));
    f.press("btnCaricaFoto");

    QString caption;
    QSize held;
    QRect drawn;
    QSize area;
    bool closedByMargin = false;
    whenModalShown([&](QWidget* modal) {
        caption = modal->windowTitle();
        auto* photo = child<platform::PhotoView>(modal, "imgFoto");
        held = photo->image().size();
        drawn = photo->pictureRect();
        area = child(modal, "panContainer")->size();
        QTest::mouseClick(modal, Qt::LeftButton, {}, QPoint(2, 2)); // the margin does not close it
        closedByMargin = !modal->isVisible();
        click(photo);
    });
    f.press("btnZoomFoto");

    QCOMPARE(caption, " Fai clic sulla foto per chiudere questa finestra");
    QCOMPARE(held, QSize(4000, 3000));
    const QSize screen = f.editor.screen()->size();
    QCOMPARE(area, screen - QSize(60, 90));
    QCOMPARE(drawn.size(), QSize(4000, 3000).scaled(area, Qt::KeepAspectRatio));
    QCOMPARE(drawn.center(), QRect(QPoint(), area).center());
    QVERIFY(!closedByMargin);
    QVERIFY(f.editor.findChildren<ZoomWindow*>().isEmpty()); // discarded when closed
}

void TestEditorPhotos::captureOpensForItsSlot_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("tag");
    QTest::newRow("slot A") << "btnAcquisisciFoto"
                            << "foto01";
    QTest::newRow("slot B") << "btnAcquisisciFoto02"
                            << "foto02";
}

void TestEditorPhotos::captureOpensForItsSlot()
{
    QFETCH(QString, button);
    QFETCH(QString, tag);
    EditorFixture f(0);
    QString seen;
    QWidget* owner = nullptr;
    whenModalShown([&](QWidget* modal) {
        if (auto* capture = qobject_cast<CaptureScreen*>(modal))
            seen = capture->callerTag();
        owner = modal->parentWidget();
        click(child(modal, "btnClose"));
    });
    f.press(button.toLatin1());
    QCOMPARE(seen, tag);
    QCOMPARE(owner, &f.editor);
    QCOMPARE(f.editor.photo(PhotoSlotId::A), defaultPicture(f, PhotoSlotId::A));
    QCOMPARE(f.editor.photo(PhotoSlotId::B), defaultPicture(f, PhotoSlotId::B));
}

void TestEditorPhotos::helpShowsTheEditorTopic()
{
    EditorFixture f(0);
    QString title;
    whenModalShown([&](QWidget* modal) { title = child<QLabel>(modal, "lblTitolo")->text(); });
    f.press("cmdGuida");
    QCOMPARE(title, help::helpTitle(help::HelpTopic::Editor));
}

QTEST_MAIN(TestEditorPhotos)
#include "tst_editor_photos.moc"
