#include "media/Slideshow.h"
#include "platform/PhotoView.h"

#include "tests/editor/EditorFixture.h"
#include "tests/support/TestPictures.h"

#include <QScreen>
#include <QTimer>

using namespace brivanto;
using platform::MessageButtons;
using platform::MessageKind;
using platform::PhotoView;
using platform::testing::ManualTimer;

namespace {

// Photo A of record k is k * 10 + 100 pixels wide, photo B 50 pixels wide: the size tells which
// photo is on screen.
QSize photoSizeA(int position)
{
    return {100 + 10 * position, 90};
}

// A slideshow of an editor open on an archive of `records` records, each with its two photos.
class SlideshowFixture
{
public:
    explicit SlideshowFixture(int records) : f(records)
    {
        for (int k = 1; k <= records; ++k) {
            f.folder.writeFile(QStringLiteral("Foto_Gioco/Giochi rari_Foto_A_%1.jpg").arg(k),
                               jpegOf(photoSizeA(k), k));
            f.folder.writeFile(QStringLiteral("Foto_Gioco/Giochi rari_Foto_B_%1.jpg").arg(k),
                               jpegOf({50, 50}, k));
        }
        screen = std::make_unique<Slideshow>(f.editor);
        screen->show();
    }

    ManualTimer* timer() const { return f.folder.platform.timers.alive().front(); }
    void tick() { f.folder.platform.timers.tick(); }
    QImage shown() const { return child<PhotoView>(screen.get(), "imgFoto")->image(); }
    QImage banner() const { return child<PhotoView>(screen.get(), "imgBianco")->image(); }
    QString counter() const { return child<QLabel>(screen.get(), "lblPosizione")->text(); }
    // "banner", or the position whose photo A is shown.
    QString whatIsShown() const
    {
        if (shown() == banner())
            return QStringLiteral("banner");
        for (int k = 1; k <= 99; ++k) {
            if (shown().size() == photoSizeA(k))
                return QString::number(k);
        }
        return QStringLiteral("something else");
    }

    EditorFixture f;
    std::unique_ptr<Slideshow> screen;
};

} // namespace

// The slideshow, its ticks driven by the test.
class TestSlideshow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsWithTheBannerOnTheScreenSize();
    void photosFollowInTurn_data();
    void photosFollowInTurn();
    void unreadablePhotoShowsTheBanner_data();
    void unreadablePhotoShowsTheBanner();
    void emptyArchiveEndsTheShow_data();
    void emptyArchiveEndsTheShow();
    void archiveErrorBoxesDoNotStack();
    void clickClosesAtOnce_data();
    void clickClosesAtOnce();
    void restoringTheWindowCarriesOn();
    void openedByTheEditorsButton();
};

void TestSlideshow::startsWithTheBannerOnTheScreenSize()
{
    SlideshowFixture s(1);
    QCOMPARE(s.screen->windowTitle(), " Slide Show Giochi da Tavolo");
    QCOMPARE(s.banner().size(), QSize(677, 184));
    QCOMPARE(s.banner().pixel(4, 4), qRgb(255, 255, 255));
    QCOMPARE(s.whatIsShown(), "banner");
    QCOMPARE(s.counter(), "");
    const QSize area = s.screen->screen()->size() - QSize(60, 90);
    QCOMPARE(child(s.screen.get(), "panContainer")->size(), area);
    QCOMPARE(child(s.screen.get(), "imgFoto")->size(), area);
    QVERIFY(s.timer()->isActive());
    QCOMPARE(s.timer()->interval(), 6000);
}

void TestSlideshow::photosFollowInTurn_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QStringList>("sequence"); // after the opening and each tick
    QTest::addColumn<QStringList>("counters");
    QTest::newRow("1 record") << 1 << QStringList{"banner", "1", "1", "1", "1"}
                              << QStringList{"", "1", "0", "1", "0"};
    QTest::newRow("3 records") << 3 << QStringList{"banner", "1", "2", "3", "3", "1", "2"}
                               << QStringList{"", "1", "2", "3", "0", "1", "2"};
}

void TestSlideshow::photosFollowInTurn()
{
    QFETCH(int, records);
    QFETCH(QStringList, sequence);
    QFETCH(QStringList, counters);
    SlideshowFixture s(records);
    QStringList seen{s.whatIsShown()};
    QStringList counted{s.counter()};
    for (int tick = 1; tick < sequence.size(); ++tick) {
        s.tick();
        seen.append(s.whatIsShown());
        counted.append(s.counter());
    }
    QCOMPARE(seen, sequence);
    QCOMPARE(counted, counters);
    QVERIFY(s.screen->isVisible());
    QCOMPARE(s.f.messages(), QStringList());
    QCOMPARE(s.shown().size(), photoSizeA(sequence.back().toInt())); // full resolution, not a thumbnail
}

void TestSlideshow::unreadablePhotoShowsTheBanner_data()
{
    QTest::addColumn<QByteArray>("photo"); // empty: no file
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("truncated JPEG") << jpegOf({400, 300}, 3).left(2000);
    QTest::newRow("not a picture") << QByteArray("testo, non una foto");
    QTest::newRow("20000 x 20000") << jpegClaiming({20000, 20000});
}

void TestSlideshow::unreadablePhotoShowsTheBanner()
{
    QFETCH(QByteArray, photo);
    SlideshowFixture s(3);
    const QString path = s.f.photoPath('A', 2);
    QVERIFY(QFile::remove(path));
    if (!photo.isEmpty())
        s.f.folder.writeFile("Foto_Gioco/Giochi rari_Foto_A_2.jpg", photo);
    QStringList seen;
    for (int tick = 0; tick < 3; ++tick) {
        s.tick();
        seen.append(s.whatIsShown());
    }
    QCOMPARE(seen, (QStringList{"1", "banner", "3"}));
    QCOMPARE(s.f.messages(), QStringList());
}

void TestSlideshow::emptyArchiveEndsTheShow_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("ticksBeforeDeleting"); // -1: never deleted
    QTest::addColumn<QStringList>("sequence");
    QTest::newRow("empty archive") << 0 << -1 << QStringList{"banner"};
    QTest::newRow("archive deleted during the show") << 2 << 1 << QStringList{"banner", "1"};
}

void TestSlideshow::emptyArchiveEndsTheShow()
{
    QFETCH(int, records);
    QFETCH(int, ticksBeforeDeleting);
    QFETCH(QStringList, sequence);
    SlideshowFixture s(records);
    QStringList seen{s.whatIsShown()};
    for (int tick = 0; tick < ticksBeforeDeleting; ++tick) {
        s.tick();
        seen.append(s.whatIsShown());
    }
    if (ticksBeforeDeleting >= 0)
        QVERIFY(QFile::remove(s.f.archivePath()));
    bool timerRanUnderTheBox = true;
    s.f.folder.platform.messages.whileShowing([&] { timerRanUnderTheBox = s.timer()->isActive(); });
    s.tick();

    QCOMPARE(seen, sequence);
    QCOMPARE(s.f.messages(), QStringList{EmptyArchive});
    QCOMPARE(s.f.folder.platform.messages.shown().front().kind, MessageKind::Information);
    QCOMPARE(s.f.folder.platform.messages.shown().front().buttons, MessageButtons::OkCancel);
    QVERIFY(!timerRanUnderTheBox);
    QVERIFY(!s.screen->isVisible());
    QCOMPARE(s.counter(), "");
}

// While the archive cannot be read the error comes back at every tick, but never a second box
// over the first.
void TestSlideshow::archiveErrorBoxesDoNotStack()
{
    SlideshowFixture s(2);
    s.tick();
    QVERIFY(QFile::remove(s.f.archivePath()));
    QVERIFY(QDir().mkdir(s.f.archivePath())); // a folder cannot be opened as an archive
    s.f.folder.platform.messages.whileShowing([&] {
        s.tick(); // six and twelve seconds later, with the box still open
        s.tick();
    });
    s.tick();
    QCOMPARE(s.f.messages(), QStringList{ArchiveAccessError});
    QCOMPARE(s.f.folder.platform.messages.shown().front().kind, MessageKind::Error);
    QCOMPARE(s.f.folder.platform.messages.shown().front().buttons, MessageButtons::OkCancel);
    QVERIFY(s.timer()->isActive());
    QCOMPARE(s.whatIsShown(), "1");

    s.tick(); // the next tick after the box was closed brings it back
    QCOMPARE(s.f.messages(), (QStringList{ArchiveAccessError, ArchiveAccessError}));

    QVERIFY(QDir().rmdir(s.f.archivePath())); // readable again, though empty now
    s.f.folder.writeFile("Giochi rari.gdt", recordBytes(numberedRecord(1)) + recordBytes(numberedRecord(2)));
    s.tick();
    QCOMPARE(s.whatIsShown(), "2");
}

void TestSlideshow::clickClosesAtOnce_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("ticks");
    QTest::newRow("photo, during the banner") << "imgFoto" << 0;
    QTest::newRow("photo, during a photo") << "imgFoto" << 1;
    QTest::newRow("panel") << "panContainer" << 1;
    QTest::newRow("window's close button") << "close" << 2;
}

void TestSlideshow::clickClosesAtOnce()
{
    QFETCH(QString, where);
    QFETCH(int, ticks);
    SlideshowFixture s(3);
    for (int tick = 0; tick < ticks; ++tick)
        s.tick();
    ManualTimer* timer = s.timer();
    if (where == "close")
        QVERIFY(s.screen->close());
    else
        click(child(s.screen.get(), where.toLatin1()));
    QVERIFY(!s.screen->isVisible());
    QVERIFY(!timer->isActive());
}

void TestSlideshow::restoringTheWindowCarriesOn()
{
    SlideshowFixture s(3);
    s.tick();
    s.tick();
    restoreFromTaskbar(s.screen.get());
    QCOMPARE(s.whatIsShown(), "2");
    s.tick();
    QCOMPARE(s.whatIsShown(), "3");
}

// The editor's slideshow button opens the show on the editor's archive, modally, over the editor.
void TestSlideshow::openedByTheEditorsButton()
{
    EditorFixture f(2);
    f.folder.writeFile("Foto_Gioco/Giochi rari_Foto_A_1.jpg", jpegOf(photoSizeA(1)));
    QSize shown;
    QWidget* owner = nullptr;
    bool maximised = false;
    QTimer::singleShot(0, [&] {
        auto* screen = qobject_cast<Slideshow*>(QApplication::activeModalWidget());
        if (!screen)
            return;
        owner = screen->parentWidget();
        maximised = screen->windowState() & Qt::WindowMaximized;
        f.folder.platform.timers.tick();
        shown = child<PhotoView>(screen, "imgFoto")->image().size();
        click(child(screen, "imgFoto"));
    });
    f.press("cmdSlideShow");
    QCOMPARE(owner, &f.editor);
    QVERIFY(maximised);
    QCOMPARE(shown, photoSizeA(1));
    QVERIFY(f.folder.platform.timers.alive().isEmpty()); // the screen is gone with its timer
}

QTEST_MAIN(TestSlideshow)
#include "tst_slideshow.moc"
