#include "media/CaptureScreen.h"
#include "platform/CameraModuleEntry.h"
#include "platform/ModuleCameras.h"
#include "platform/PhotoView.h"

#include "tests/editor/EditorFixture.h"

#include <QLabel>
#include <QLibrary>
#include <QTemporaryDir>

using namespace brivanto;
using platform::CameraFactory;
using platform::CameraModuleVersion;
using platform::ModuleCameras;
using platform::PhotoView;

namespace {

const QString NoSupportNotice = QStringLiteral("Il supporto per la webcam non è installato.");

// The picture the test modules' camera shows.
QImage stillPicture()
{
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(qRgb(30, 90, 200));
    return picture;
}

// Records what the camera support writes to the log; everything else goes on as before.
class CameraLog
{
public:
    CameraLog()
    {
        current_ = this;
        previous_ = qInstallMessageHandler(&record);
    }
    ~CameraLog()
    {
        qInstallMessageHandler(previous_);
        current_ = nullptr;
    }
    // The warnings of the camera's logging category, in order.
    const QStringList& warnings() const { return warnings_; }
    void clear() { warnings_.clear(); }

private:
    static void record(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (context.category && QByteArray(context.category) == "brivanto.camera") {
            if (type == QtWarningMsg)
                current_->warnings_.append(text);
            return;
        }
        if (current_->previous_)
            current_->previous_(type, context, text);
    }

    static inline CameraLog* current_ = nullptr;
    QtMessageHandler previous_ = nullptr;
    QStringList warnings_;
};

// The capture screen over a record editor, its camera support a module in a folder of its own
// that holds what the test puts there.
class ModuleCaptureFixture
{
public:
    ModuleCaptureFixture() : cameras(modulePath())
    {
        screen = std::make_unique<CaptureScreen>(f.editor);
        screen->setCallerTag(QStringLiteral("foto01"));
        screen->show();
    }

    QString modulePath() const { return moduleFolder.filePath(QStringLiteral("brivanto-camera.so")); }
    // Puts `source` in the module's place; an empty source leaves the place empty.
    void placeModule(const QString& source) const
    {
        QFile::remove(modulePath());
        if (!source.isEmpty())
            QVERIFY(QFile::copy(source, modulePath()));
    }
    void press(const char* button) const { click(child(screen.get(), button)); }
    QImage picture(const char* name) const { return child<PhotoView>(screen.get(), name)->image(); }
    const QLabel* notice() const { return child<QLabel>(screen.get(), "lblSupportoWebcam"); }

    CameraLog log;
    QTemporaryDir moduleFolder;
    EditorFixture f;
    ModuleCameras cameras;
    platform::ScopedSeam<CameraFactory> seam{cameras};
    std::unique_ptr<CaptureScreen> screen;
};

} // namespace

// The camera support loaded from its module, as the program loads it.
class TestCameraModule : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void unusableModuleIsNoticedLoggedAndRetried_data();
    void unusableModuleIsNoticedLoggedAndRetried();
    void programModuleAnswersOnlyItsOwnBuild();
};

void TestCameraModule::unusableModuleIsNoticedLoggedAndRetried_data()
{
    QTest::addColumn<QString>("module"); // what lies in the module's place; "" for nothing
    QTest::addColumn<QString>("reason"); // what the log says of it
    QTest::newRow("missing") << ""
                             << "No such file or directory";
    QTest::newRow("not a library") << "garbage"
                                   << "invalid ELF header|file too short";
    QTest::newRow("needs a function no library has")
        << MISSING_SYMBOL_MODULE << "undefined symbol: brivantoNoSuchFunction";
    QTest::newRow("of another build") << OTHER_BUILD_MODULE
                                      << QString("refused: it is of build %1, the program of build %2")
                                             .arg(CameraModuleVersion + 1)
                                             .arg(CameraModuleVersion);
}

// Switching on without a usable module says so in one line and in the log; the illustration
// stays. Once a good module is in place, the next switch-on loads it and shows its camera.
void TestCameraModule::unusableModuleIsNoticedLoggedAndRetried()
{
    QFETCH(QString, module);
    QFETCH(QString, reason);
    ModuleCaptureFixture c;
    if (module == "garbage") {
        QFile file(c.modulePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("not a library\n").repeated(100));
    } else {
        c.placeModule(module);
    }
    QVERIFY(!c.notice()->isVisibleTo(c.screen.get()));

    c.log.clear();
    c.press("btnAccendi");
    QVERIFY(c.notice()->isVisible());
    QCOMPARE(c.notice()->text(), NoSupportNotice);
    QCOMPARE(c.picture("imgCamera"), c.picture("imgBianco"));
    QCOMPARE(c.log.warnings().size(), 1);
    const QString logged = c.log.warnings().front();
    QVERIFY2(logged.contains(c.modulePath()), qPrintable(logged));
    QVERIFY2(logged.contains(QRegularExpression(reason)), qPrintable(logged));
    QCOMPARE(c.f.messages(), QStringList()); // no box: the line on the screen says it

    // Pressed again, it tries again, and says so again.
    c.press("btnAccendi");
    QCOMPARE(c.log.warnings().size(), 2);
    QVERIFY(c.notice()->isVisible());

    c.placeModule(ACCEPTED_MODULE);
    c.log.clear();
    c.press("btnAccendi");
    QVERIFY(!c.notice()->isVisible());
    QCOMPARE(c.picture("imgCamera"), stillPicture());
    QCOMPARE(c.log.warnings(), QStringList());
}

// The program's own module: it says its build, and hands its cameras only to a program of the
// same build. Loaded with every symbol bound, its camera switches on without a notice.
void TestCameraModule::programModuleAnswersOnlyItsOwnBuild()
{
    QLibrary module(PROGRAM_MODULE);
    module.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    QVERIFY2(module.load(), qPrintable(module.errorString()));
    const auto version = reinterpret_cast<platform::CameraModuleVersionEntry>(
        module.resolve(platform::CameraModuleVersionSymbol));
    const auto cameras = reinterpret_cast<platform::CameraModuleCamerasEntry>(
        module.resolve(platform::CameraModuleCamerasSymbol));
    QVERIFY(version && cameras);
    QCOMPARE(version(), CameraModuleVersion);
    QCOMPARE(cameras(CameraModuleVersion + 1), nullptr);
    QCOMPARE(cameras(CameraModuleVersion - 1), nullptr);
    QVERIFY(cameras(CameraModuleVersion));

    ModuleCaptureFixture c;
    c.placeModule(PROGRAM_MODULE);
    c.log.clear();
    c.press("btnAccendi");
    QVERIFY(!c.notice()->isVisible());
    QCOMPARE(c.log.warnings(), QStringList());
    c.press("btnSpegni");
}

QTEST_MAIN(TestCameraModule)
#include "tst_camera_module.moc"
