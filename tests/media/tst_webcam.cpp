#include "media/CaptureScreen.h"
#include "platform/PhotoView.h"
#include "platform/testing/InjectedCamera.h"

#include "tests/editor/EditorFixture.h"

#include <QImageReader>
#include <QPushButton>
#include <QTimer>

#include <atomic>
#include <thread>

using namespace brivanto;
using platform::PhotoView;
using platform::testing::InjectedCamera;
using platform::testing::InjectedCameras;

namespace {

QImage solid(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A frame in a planar or semi-planar YUV format, all one grey of luma `y`.
QVideoFrame yuvFrame(QSize size, QVideoFrameFormat::PixelFormat format, uchar y)
{
    QVideoFrame frame(QVideoFrameFormat(size, format));
    if (!frame.map(QVideoFrame::WriteOnly))
        qFatal("cannot map a video frame");
    std::memset(frame.bits(0), y, std::size_t(frame.mappedBytes(0)));
    for (int plane = 1; plane < frame.planeCount(); ++plane)
        std::memset(frame.bits(plane), 128, std::size_t(frame.mappedBytes(plane)));
    frame.unmap();
    return frame;
}

// The capture screen of an editor open on an archive, with an injected camera.
class CaptureFixture
{
public:
    explicit CaptureFixture(const QString& tag = QStringLiteral("foto01"))
    {
        screen = std::make_unique<CaptureScreen>(f.editor);
        screen->setCallerTag(tag);
        screen->show();
    }

    InjectedCamera& camera() const { return *cameras.last(); }
    void press(const char* button) const { click(child(screen.get(), button)); }
    QImage picture(const char* name) const { return child<PhotoView>(screen.get(), name)->image(); }
    QImage live() const { return picture("imgCamera"); }
    QImage captured() const { return picture("imgTarget"); }
    QImage defaultPicture(PhotoSlotId slot) const
    {
        return child<PhotoView>(&f.editor, slot == PhotoSlotId::A ? "imgBianco" : "imgBianco02")->image();
    }

    // Injects a frame and waits until the live view shows it.
    void showFrame(const QImage& frame) const
    {
        camera().inject(frame);
        QTRY_COMPARE(live(), frame);
    }

    EditorFixture f;
    InjectedCameras cameras;
    platform::ScopedSeam<platform::CameraFactory> seam{cameras};
    std::unique_ptr<CaptureScreen> screen;
};

} // namespace

// The capture screen with a camera whose frames the tests hand in.
class TestWebCam : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void screenLayout();
    void importFillsTheCallersSlotOnly_data();
    void importFillsTheCallersSlotOnly();
    void leavingSwitchesTheCameraOff_data();
    void leavingSwitchesTheCameraOff();
    void spegniThenCatturaTakesTheLastFrame();
    void framesKeepTheirSizeAndBecomeRgb_data();
    void framesKeepTheirSizeAndBecomeRgb();
    void framesFromTheCameraThreadArriveWhole();
    void withoutFramesTheIllustrationsAreUsed();
    void everySwitchOnLooksForTheCameraAgain_data();
    void everySwitchOnLooksForTheCameraAgain();
    void saveCopy_data();
    void saveCopy();
    void captureThroughTheEditorIsSavedWithTheRecord();
    void realCameraWithoutADeviceDeliversNothing();
};

void TestWebCam::screenLayout()
{
    CaptureFixture c;
    QCOMPARE(c.screen->windowTitle(), " Cattura foto con webcam");
    QCOMPARE(c.screen->size(), QSize(807, 405));
    QCOMPARE(c.screen->parentWidget(), &c.f.editor);
    QVERIFY(!(c.screen->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint)));
    QCOMPARE(child(c.screen.get(), "imgCamera")->size(), QSize(366, 274));
    QCOMPARE(child(c.screen.get(), "imgTarget")->size(), QSize(366, 274));
    QCOMPARE(c.live(), c.picture("imgBianco"));
    QVERIFY(c.captured() != c.live());

    // The buttons in their tab order, each in Verdana with a hand cursor.
    const QList<std::pair<const char*, const char*>> buttons{{"btnAccendi", "Accendi webcam"},
                                                             {"btnCattura", "Cattura foto"},
                                                             {"btnSalvaFotogramma", "Salva foto su disco"},
                                                             {"btnSpegni", "Spegni webcam"},
                                                             {"btnImportaFoto", "Importa foto in scheda"},
                                                             {"btnClose", "Annulla"}};
    QWidget* previous = nullptr;
    for (const auto& [name, text] : buttons) {
        auto* button = child<QPushButton>(c.screen.get(), name);
        QCOMPARE(button->text(), QString::fromUtf8(text));
        QCOMPARE(button->font().family(), "Verdana");
        QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
        if (previous)
            QCOMPARE(previous->nextInFocusChain(), button);
        previous = button;
    }
    QVERIFY(c.camera().switches().isEmpty()); // off when the screen opens
}

void TestWebCam::importFillsTheCallersSlotOnly_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("fillsA");
    QTest::addColumn<bool>("fillsB");
    QTest::newRow("foto01") << "foto01" << true << false;
    QTest::newRow("foto02") << "foto02" << false << true;
    QTest::newRow("blanks around the tag") << " foto02 " << false << true;
    QTest::newRow("another tag") << "foto03" << false << false;
    QTest::newRow("no tag") << "" << false << false;
}

void TestWebCam::importFillsTheCallersSlotOnly()
{
    QFETCH(QString, tag);
    QFETCH(bool, fillsA);
    QFETCH(bool, fillsB);
    CaptureFixture c(tag);
    const QImage frame = solid({640, 480}, qRgb(200, 40, 40));
    c.press("btnAccendi");
    c.showFrame(frame);
    c.press("btnCattura");
    QCOMPARE(c.captured(), frame);
    c.press("btnImportaFoto");

    QVERIFY(!c.screen->isVisible());
    QVERIFY(!c.camera().isActive());
    QCOMPARE(c.f.editor.photo(PhotoSlotId::A) == frame, fillsA);
    QCOMPARE(c.f.editor.photo(PhotoSlotId::B) == frame, fillsB);
    if (!fillsA)
        QCOMPARE(c.f.editor.photo(PhotoSlotId::A), c.defaultPicture(PhotoSlotId::A));
    if (!fillsB)
        QCOMPARE(c.f.editor.photo(PhotoSlotId::B), c.defaultPicture(PhotoSlotId::B));
    QCOMPARE(c.f.messages(), QStringList());
}

void TestWebCam::leavingSwitchesTheCameraOff_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("imports");
    QTest::newRow("Annulla") << "btnClose" << false;
    QTest::newRow("Escape") << "Escape" << false;
    QTest::newRow("Importa foto in scheda") << "btnImportaFoto" << true;
    QTest::newRow("screen discarded") << "delete" << false;
}

void TestWebCam::leavingSwitchesTheCameraOff()
{
    QFETCH(QString, how);
    QFETCH(bool, imports);
    CaptureFixture c("foto01");
    const QImage frame = solid({366, 274}, qRgb(20, 160, 60));
    c.press("btnAccendi");
    c.showFrame(frame);
    c.press("btnCattura");
    const QPointer<InjectedCamera> camera = &c.camera();
    if (how == "Escape")
        QTest::keyClick(c.screen.get(), Qt::Key_Escape);
    else if (how == "delete")
        c.screen.reset();
    else
        c.press(how.toLatin1());

    QVERIFY(camera.isNull() || (!camera->isActive() && camera->switches().back() == false));
    if (c.screen)
        QVERIFY(!c.screen->isVisible());
    QCOMPARE(c.f.editor.photo(PhotoSlotId::A) == frame, imports);
    QCOMPARE(c.f.editor.photo(PhotoSlotId::B), c.defaultPicture(PhotoSlotId::B));
}

void TestWebCam::spegniThenCatturaTakesTheLastFrame()
{
    CaptureFixture c;
    const QImage first = solid({320, 240}, qRgb(10, 20, 230));
    c.press("btnAccendi");
    c.press("btnAccendi"); // on twice: still simply on
    QVERIFY(c.camera().isActive());
    c.showFrame(first);
    // A frame on its way when the camera goes off, and one after, never reach the live view.
    c.camera().inject(solid({320, 240}, qRgb(250, 250, 0)));
    c.press("btnSpegni");
    c.press("btnSpegni");
    c.camera().inject(solid({320, 240}, qRgb(0, 250, 250)));
    QTest::qWait(20);
    QCOMPARE(c.live(), first);
    c.press("btnCattura");
    QCOMPARE(c.captured(), first);

    // On again: frames flow once more.
    c.press("btnAccendi");
    c.showFrame(solid({320, 240}, qRgb(128, 0, 128)));
}

void TestWebCam::framesKeepTheirSizeAndBecomeRgb_data()
{
    QTest::addColumn<QVideoFrame>("frame");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("HD, larger than the box") << InjectedCamera::frameOf(solid({1280, 720}, qRgb(90, 60, 30)))
                                             << QSize(1280, 720) << qRgb(90, 60, 30);
    QTest::newRow("smaller than the box") << InjectedCamera::frameOf(solid({160, 120}, qRgb(30, 60, 90)))
                                          << QSize(160, 120) << qRgb(30, 60, 90);
    QTest::newRow("planar YUV") << yuvFrame({640, 480}, QVideoFrameFormat::Format_YUV420P, 180)
                                << QSize(640, 480) << qRgb(191, 191, 191);
    QTest::newRow("NV12") << yuvFrame({800, 600}, QVideoFrameFormat::Format_NV12, 60) << QSize(800, 600)
                          << qRgb(51, 51, 51);
}

void TestWebCam::framesKeepTheirSizeAndBecomeRgb()
{
    QFETCH(QVideoFrame, frame);
    QFETCH(QSize, size);
    QFETCH(QRgb, colour);
    CaptureFixture c("foto02");
    c.press("btnAccendi");
    c.camera().inject(frame);
    QTRY_COMPARE(c.live().size(), size);
    c.press("btnCattura");
    c.press("btnImportaFoto");

    const QImage imported = c.f.editor.photo(PhotoSlotId::B);
    QCOMPARE(imported.size(), size);
    QCOMPARE(imported.format(), QImage::Format_RGB32);
    for (const QPoint at : {QPoint(0, 0), QPoint(size.width() / 2, size.height() / 2),
                            QPoint(size.width() - 1, size.height() - 1)}) {
        const QRgb pixel = imported.pixel(at);
        for (const auto& [got, wanted] :
             {std::pair(qRed(pixel), qRed(colour)), std::pair(qGreen(pixel), qGreen(colour)),
              std::pair(qBlue(pixel), qBlue(colour))})
            QVERIFY2(std::abs(got - wanted) <= 4, qPrintable(QString::number(pixel, 16)));
    }
    // Saved with the record at that size.
    c.f.fillMandatory();
    c.f.press("cmdSalva");
    QCOMPARE(QImage(c.f.photoPath('B', 1)).size(), size);
}

// The device delivers on a thread of its own, faster than the screen takes frames: every frame
// the screen sees is one whole frame, and the last one always arrives.
void TestWebCam::framesFromTheCameraThreadArriveWhole()
{
    CaptureFixture c;
    c.press("btnAccendi");
    int seen = 0;
    int torn = 0;
    QObject::connect(&c.camera(), &platform::Camera::frameReady, [&](const QImage& frame) {
        ++seen;
        const QRgb corner = frame.pixel(0, 0);
        if (frame.pixel(frame.width() - 1, frame.height() - 1) != corner ||
            frame.pixel(frame.width() / 2, frame.height() / 2) != corner)
            ++torn;
    });
    constexpr int Frames = 120;
    InjectedCamera* camera = &c.camera();
    std::atomic<bool> done = false;
    std::thread device([camera, &done] {
        for (int i = 1; i <= Frames; ++i)
            camera->inject(solid({640, 480}, qRgb(i, 255 - i, i / 2)));
        done = true;
    });
    while (!done) // the screen takes frames while the device is still delivering
        QCoreApplication::processEvents();
    device.join();
    QTRY_COMPARE(c.live().pixel(0, 0), qRgb(Frames, 255 - Frames, Frames / 2));
    QCOMPARE(torn, 0);
    QVERIFY(seen <= Frames);
}

void TestWebCam::withoutFramesTheIllustrationsAreUsed()
{
    CaptureFixture c("foto01");
    const QImage webcam = c.picture("imgBianco");
    const QImage photoCamera = c.captured();
    QCOMPARE(webcam.size(), QSize(366, 274));
    QCOMPARE(photoCamera.size(), QSize(366, 274));

    // A camera that is gone delivers nothing, and nothing is reported.
    c.press("btnAccendi");
    c.showFrame(solid({640, 480}, qRgb(1, 2, 3)));
    c.camera().disappear();
    c.camera().inject(solid({640, 480}, qRgb(4, 5, 6)));
    c.press("btnAccendi");
    c.camera().inject(solid({640, 480}, qRgb(7, 8, 9)));
    QTest::qWait(20);
    QCOMPARE(c.live(), solid({640, 480}, qRgb(1, 2, 3)));
    QCOMPARE(c.f.messages(), QStringList());

    // Importing before any capture imports the photo camera; capturing before any frame takes
    // the webcam illustration.
    CaptureFixture fresh("foto02");
    fresh.press("btnImportaFoto");
    QCOMPARE(fresh.f.editor.photo(PhotoSlotId::B), photoCamera);
    CaptureFixture again("foto02");
    again.press("btnAccendi");
    again.press("btnCattura");
    again.press("btnImportaFoto");
    QCOMPARE(again.f.editor.photo(PhotoSlotId::B), webcam);
}

void TestWebCam::everySwitchOnLooksForTheCameraAgain_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<bool>("pluggedInAgain"); // the device has to come back before it can be found
    QTest::newRow("no camera at the first switch-on") << "missing" << true;
    QTest::newRow("camera error") << "error" << false;
    QTest::newRow("camera unplugged") << "unplugged" << true;
}

// Without "Spegni webcam" in between: the user presses "Accendi webcam" again.
void TestWebCam::everySwitchOnLooksForTheCameraAgain()
{
    QFETCH(QString, trouble);
    QFETCH(bool, pluggedInAgain);
    CaptureFixture c;
    const QImage before = solid({320, 240}, qRgb(40, 80, 120));
    if (trouble == "missing") {
        c.camera().disappear();
        c.press("btnAccendi");
    } else {
        c.press("btnAccendi");
        c.showFrame(before);
        if (trouble == "error")
            c.camera().fail();
        else
            c.camera().disappear();
    }
    QVERIFY(!c.camera().isRunning());
    if (pluggedInAgain) {
        c.press("btnAccendi"); // still nothing there: nothing changes, nothing is reported
        QVERIFY(!c.camera().isRunning());
        c.camera().plugIn();
    }

    c.press("btnAccendi");
    QVERIFY(c.camera().isRunning());
    c.showFrame(solid({640, 480}, qRgb(200, 100, 0)));
    c.press("btnSpegni");
    QVERIFY(!c.camera().isRunning());
    QCOMPARE(c.f.messages(), QStringList());
}

void TestWebCam::saveCopy_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written"); // empty: nothing may be written
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("name without extension") << "scatola"
                                            << "scatola.jpg" << QByteArray("jpeg");
    QTest::newRow("another format") << "scatola.png"
                                    << "scatola.png" << QByteArray("png");
    QTest::newRow("missing folder") << "manca/scatola.jpg"
                                    << "" << QByteArray();
    QTest::newRow("extension without encoder") << "scatola.xyz"
                                               << "" << QByteArray();
}

void TestWebCam::saveCopy()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(QByteArray, format);
    CaptureFixture c;
    const QImage frame = solid({500, 300}, qRgb(70, 140, 210));
    c.press("btnAccendi");
    c.showFrame(frame);
    c.press("btnCattura");
    c.f.folder.platform.dialogs.chooseNext(c.f.folder.path(chosen));
    c.press("btnSalvaFotogramma");

    const platform::FileDialogRequest& request = c.f.folder.platform.dialogs.requests().back();
    QCOMPARE(request.title, "Selezionare la cartella in cui si desidera salvare il file Jpeg.");
    QCOMPARE(request.filters, QStringList{"File Jpeg (*.jpg)"});
    QCOMPARE(request.initialName, "Foto.jpg");
    QCOMPARE(request.defaultExtension, "jpg");
    QVERIFY(request.askBeforeReplacing);
    if (written.isEmpty()) {
        QCOMPARE(c.f.messages().size(), 1);
        QVERIFY(c.f.messages().front().startsWith("Attenzione: "));
        QCOMPARE(c.f.folder.platform.messages.shown().front().kind, platform::MessageKind::Warning);
        QVERIFY(!QFile::exists(c.f.folder.path(chosen)));
    } else {
        QCOMPARE(c.f.messages(), QStringList());
        QCOMPARE(QImageReader(c.f.folder.path(written)).format(), format);
        QCOMPARE(QImage(c.f.folder.path(written)).size(), frame.size());
    }
    // The captured picture stays, whatever happened to the copy.
    QCOMPARE(c.captured(), frame);
    QVERIFY(c.screen->isVisible());

    c.press("btnSalvaFotogramma"); // cancelled: nothing happens
    QCOMPARE(c.captured(), frame);
}

void TestWebCam::captureThroughTheEditorIsSavedWithTheRecord()
{
    EditorFixture f(0);
    InjectedCameras cameras;
    platform::ScopedSeam<platform::CameraFactory> seam(cameras);
    const QImage frame = solid({1024, 768}, qRgb(240, 120, 0));
    QString tag;
    QTimer::singleShot(0, [&] {
        auto* screen = qobject_cast<CaptureScreen*>(QApplication::activeModalWidget());
        if (!screen)
            return;
        tag = screen->callerTag();
        click(child(screen, "btnAccendi"));
        cameras.last()->inject(frame);
        QTRY_COMPARE(child<PhotoView>(screen, "imgCamera")->image().size(), frame.size());
        click(child(screen, "btnCattura"));
        click(child(screen, "btnImportaFoto"));
    });
    f.press("btnAcquisisciFoto02");
    QCOMPARE(tag, "foto02");
    QVERIFY(!cameras.last()); // the screen and its camera are gone
    f.fillMandatory();
    f.press("cmdSalva");
    const QImage saved(f.photoPath('B', 1));
    QCOMPARE(saved.size(), frame.size());
    QVERIFY(std::abs(qRed(saved.pixel(512, 384)) - 240) <= 4);
    QCOMPARE(QImage(f.photoPath('A', 1)).size(), QSize(366, 260));
}

void TestWebCam::realCameraWithoutADeviceDeliversNothing()
{
    ProgramFolderFixture folder;
    std::unique_ptr<platform::Camera> camera = platform::CameraFactory::real().defaultCamera();
    int frames = 0;
    QObject::connect(camera.get(), &platform::Camera::frameReady, [&] { ++frames; });
    camera->setActive(true);
    camera->setActive(true);
    QTest::qWait(100);
    camera->setActive(false);
    camera->setActive(false);
    QCOMPARE(frames, 0);
    QCOMPARE(folder.platform.messages.texts(), QStringList());
}

QTEST_MAIN(TestWebCam)
#include "tst_webcam.moc"
