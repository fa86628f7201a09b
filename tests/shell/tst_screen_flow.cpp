#include "access/ChangePasswordDialog.h"
#include "access/PasswordCodec.h"
#include "access/PasswordScreen.h"
#include "editor/RecordEditor.h"
#include "help/Help.h"
#include "help/HelpWindow.h"
#include "platform/Formats.h"
#include "shell/Application.h"
#include "shell/CreateArchiveScreen.h"
#include "shell/Launcher.h"
#include "shell/OpenArchiveScreen.h"
#include "shell/ScreenSet.h"

#include "tests/support/ProgramFolderFixture.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTimer>

using namespace brivanto;

Q_DECLARE_METATYPE(brivanto::help::HelpTopic)

// Walks the program's screens the way a user does, from the password screen to the editor and
// back, and out.
class TestScreenFlow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void startsOnPasswordScreenOnly();
    void everyScreenCarriesTheProgramsIcon();
    void launcherLeadsToEachScreenAndBack();
    void openArchiveReachesEditorWithBlankHandOver();
    void launcherLinksAndModalWindows_data();
    void launcherLinksAndModalWindows();
    void helpButtonsShowTheirOwnTopic_data();
    void helpButtonsShowTheirOwnTopic();
    void passwordAndChangePasswordRoundTrip_data();
    void passwordAndChangePasswordRoundTrip();
    void programEnds_data();
    void programEnds();

private:
    void logIn();
    void openArchive(const QString& entry);

    std::unique_ptr<ProgramFolderFixture> folder_;
    std::unique_ptr<ScreenSet> screens_;
};

void TestScreenFlow::init()
{
    folder_ = std::make_unique<ProgramFolderFixture>();
    folder_->writeFile("unins000.dll",
                       "[Accesso]\r\nValore=" + EncodePassword(u"SEGRETO").toLatin1() + "\r\n");
    folder_->writeFile("Giochi rari.gdt");
    folder_->writeFile("Giochi v.2.gdt");
    screens_ = std::make_unique<ScreenSet>();
    screens_->start();
}

void TestScreenFlow::cleanup()
{
    screens_.reset();
    folder_.reset();
}

void TestScreenFlow::logIn()
{
    QWidget* password = screens_->password();
    QTest::keyClicks(child<QLineEdit>(password, "txtPassword"), "segreto");
    click(child(password, "cmdOK"));
    QCOMPARE(visibleScreens(), QStringList{"TfrmAvvio"});
}

void TestScreenFlow::openArchive(const QString& entry)
{
    click(child(screens_->avvio(), "btnApp02"));
    QCOMPARE(visibleScreens(), QStringList{"TfrmApriCatalogo"});
    auto* list = child<QListWidget>(screens_->apriCatalogo(), "lstFiles");
    list->setCurrentItem(list->findItems(entry, Qt::MatchExactly).value(0));
    click(child(screens_->apriCatalogo(), "btnApri"));
}

void TestScreenFlow::startsOnPasswordScreenOnly()
{
    QCOMPARE(visibleScreens(), QStringList{"TfrmPassword"});
    // Start-up creates no file or folder of its own.
    QCOMPARE(QDir(folder_->dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList({"Giochi rari.gdt", "Giochi v.2.gdt", "unins000.dll"}));
    // The process-wide formats: decimal comma, day/month/four-digit year.
    QCOMPARE(QLocale().toString(1234.5, 'f', 2), QString("1234,50"));
    QCOMPARE(platform::shortDate(QDate(2026, 3, 7)), QString("07/03/2026"));
    QCOMPARE(screens_->password()->windowTitle().front(), QLatin1Char(' '));
    QTRY_VERIFY(child(screens_->password(), "txtPassword")->hasFocus());
    // The other resident screens wait until they are first needed.
    QStringList created;
    for (const QWidget* window : QApplication::topLevelWidgets())
        created << window->objectName();
    for (const char* later :
         {"TfrmAvvio", "TfrmApriCatalogo", "TfrmCreaCatalogo", "TfrmCartoline", "TfrmCambiaPassword"})
        QVERIFY2(!created.contains(later), later);
}

// Every screen carries the icon the program's application object set up (this test runs under
// it): none sets one of its own.
void TestScreenFlow::everyScreenCarriesTheProgramsIcon()
{
    const qint64 icon = QApplication::windowIcon().cacheKey();
    QCOMPARE(QApplication::windowIcon().availableSizes(), Application::windowIcon().availableSizes());
    QVERIFY(!QApplication::windowIcon().availableSizes().isEmpty());
    for (QWidget* screen : std::initializer_list<QWidget*>{screens_->password(), screens_->cambiaPassword(),
                                                           screens_->avvio(), screens_->apriCatalogo(),
                                                           screens_->creaCatalogo(), screens_->cartoline()})
        QVERIFY2(screen->windowIcon().cacheKey() == icon, qPrintable(screen->objectName()));
}

void TestScreenFlow::launcherLeadsToEachScreenAndBack()
{
    logIn();
    Launcher* avvio = screens_->avvio();
    QVERIFY(avvio->isMaximized());
    QCOMPARE(avvio->windowTitle(), QString(" Brivanto"));
    for (const char* clickable : {"imgApp01", "btnApp01", "imgApp02", "btnApp02", "imgInfo", "imgGuida",
                                  "imgSito", "imgCopyright", "imgEsci"})
        QCOMPARE(child(avvio, clickable)->cursor().shape(), Qt::PointingHandCursor);

    for (const char* button : {"imgApp01", "btnApp01"}) {
        click(child(avvio, button));
        QCOMPARE(visibleScreens(), QStringList{"TfrmCreaCatalogo"});
        QVERIFY(screens_->creaCatalogo()->isMaximized());
        click(child(screens_->creaCatalogo(), "btnAnnulla"));
        QCOMPARE(visibleScreens(), QStringList{"TfrmAvvio"});
    }
    click(child(avvio, "imgApp01"));
    screens_->creaCatalogo()->close(); // the window's own close box
    QCOMPARE(visibleScreens(), QStringList{"TfrmAvvio"});

    for (const char* button : {"imgApp02", "btnApp02"}) {
        click(child(avvio, button));
        QCOMPARE(visibleScreens(), QStringList{"TfrmApriCatalogo"});
        click(child(screens_->apriCatalogo(), "btnAnnulla"));
        QCOMPARE(visibleScreens(), QStringList{"TfrmAvvio"});
    }

    // Escape is "Annulla" on both, from the control that has the focus; on the open screen it
    // leaves the selected archive unopened.
    const auto escapeFrom = [](QWidget* screen, const char* focused) {
        QApplication::setActiveWindow(screen);
        QVERIFY(QTest::qWaitForWindowActive(screen));
        child(screen, focused)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    };
    click(child(avvio, "btnApp01"));
    escapeFrom(screens_->creaCatalogo(), "txtFile");
    QCOMPARE(visibleScreens(), QStringList{"TfrmAvvio"});
    click(child(avvio, "btnApp02"));
    QVERIFY(!child<QListWidget>(screens_->apriCatalogo(), "lstFiles")->selectedItems().isEmpty());
    escapeFrom(screens_->apriCatalogo(), "lstFiles");
    QCOMPARE(visibleScreens(), QStringList{"TfrmAvvio"});
    QVERIFY(folder_->platform.messages.shown().isEmpty());
}

void TestScreenFlow::openArchiveReachesEditorWithBlankHandOver()
{
    logIn();
    openArchive("Giochi rari.gdt");
    QCOMPARE(visibleScreens(), QStringList{"TfrmCartoline"});
    RecordEditor* editor = screens_->cartoline();
    QVERIFY(editor->isMaximized());
    QCOMPARE(editor->archiveFile(), folder_->path("Giochi rari.gdt"));
    QCOMPARE(editor->archiveName(), QString("Giochi rari"));

    click(child(editor, "cmdEsci"));
    QCOMPARE(visibleScreens(), QStringList{"TfrmAvvio"});

    // Opening another archive replaces both hand-over texts.
    openArchive("Giochi v.2.gdt");
    QCOMPARE(editor->archiveFile(), folder_->path("Giochi v.2.gdt"));
    QCOMPARE(editor->archiveName(), QString("Giochi v.2"));
    editor->close();
    QCOMPARE(visibleScreens(), QStringList{"TfrmAvvio"});
}

void TestScreenFlow::launcherLinksAndModalWindows_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("window");
    QTest::newRow("help") << "imgGuida"
                          << "TfrmGuida";
    QTest::newRow("information") << "imgInfo"
                                 << "TfrmInfo";
    QTest::newRow("splash") << "imgCopyright"
                            << "TfrmSplash";
}

void TestScreenFlow::launcherLinksAndModalWindows()
{
    QFETCH(QString, control);
    QFETCH(QString, window);
    logIn();
    QString seen;
    bool launcherBlocked = false;
    QTimer::singleShot(0, this, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        seen = modal ? modal->objectName() : QString();
        launcherBlocked = modal && modal->isModal() && modal->parentWidget() == screens_->avvio();
        if (modal)
            click(child(modal, "btnChiudi"));
    });
    click(child(screens_->avvio(), control.toLatin1().constData()));
    QCOMPARE(seen, window);
    QVERIFY(launcherBlocked);
    QTRY_COMPARE(visibleScreens(), QStringList{"TfrmAvvio"});

    // The banner opens the maker's site and the launcher stays.
    click(child(screens_->avvio(), "imgSito"));
    QCOMPARE(folder_->platform.shell.opened().size(), 1);
    QCOMPARE(folder_->platform.shell.opened().front().scheme(), QString("https"));
    QCOMPARE(visibleScreens(), QStringList{"TfrmAvvio"});
}

void TestScreenFlow::helpButtonsShowTheirOwnTopic_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("title");
    QTest::addColumn<help::HelpTopic>("topic");
    QTest::newRow("launcher") << "TfrmAvvio"
                              << "Uno sguardo a Brivanto" << help::HelpTopic::Overview;
    QTest::newRow("create-archive screen")
        << "TfrmCreaCatalogo"
        << "Creazione e apertura archivi giochi da tavolo" << help::HelpTopic::Archives;
    QTest::newRow("open-archive screen")
        << "TfrmApriCatalogo"
        << "Creazione e apertura archivi giochi da tavolo" << help::HelpTopic::Archives;
}

void TestScreenFlow::helpButtonsShowTheirOwnTopic()
{
    QFETCH(QString, from);
    QFETCH(QString, title);
    QFETCH(help::HelpTopic, topic);
    logIn();
    QWidget* screen = screens_->avvio();
    if (from == "TfrmCreaCatalogo") {
        click(child(screens_->avvio(), "btnApp01"));
        screen = screens_->creaCatalogo();
    } else if (from == "TfrmApriCatalogo") {
        click(child(screens_->avvio(), "btnApp02"));
        screen = screens_->apriCatalogo();
    }
    QCOMPARE(visibleScreens(), QStringList{from});

    QString shownTitle;
    QString shownText;
    QTimer::singleShot(0, this, [&] {
        auto* guide = qobject_cast<HelpWindow*>(QApplication::activeModalWidget());
        if (!guide)
            return;
        shownTitle = child<QLabel>(guide, "lblTitolo")->text();
        shownText = guide->text();
        click(child(guide, "btnChiudi"));
    });
    click(child(screen, "imgGuida"));
    QCOMPARE(shownTitle, title);
    QCOMPARE(shownText, help::helpText(topic));
    QVERIFY(!shownText.isEmpty());
    QTRY_COMPARE(visibleScreens(), QStringList{from});
}

void TestScreenFlow::passwordAndChangePasswordRoundTrip_data()
{
    QTest::addColumn<QString>("leaveBy");
    QTest::newRow("Chiudi") << "cmdEsci";
    QTest::newRow("a successful change") << "cmdOK";
    QTest::newRow("a close from the desktop") << "close";
}

void TestScreenFlow::passwordAndChangePasswordRoundTrip()
{
    QFETCH(QString, leaveBy);
    QWidget* password = screens_->password();
    QWidget* change = screens_->cambiaPassword();
    auto* txtPassword = child<QLineEdit>(password, "txtPassword");
    // Twice, so that what the first trip leaves behind is walked over too.
    for (int trip = 0; trip < 2; ++trip) {
        QTest::keyClicks(txtPassword, "mezza parola");
        click(child(password, "btnCambiaPassword"));
        QCOMPARE(visibleScreens(), QStringList{"TfrmCambiaPassword"});
        if (leaveBy == "close") {
            change->close();
        } else {
            if (leaveBy == "cmdOK") {
                const char* current = trip == 0 ? "segreto" : "nuova";
                QTest::keyClicks(child<QLineEdit>(change, "txtPasswordOld"), current);
                QTest::keyClicks(child<QLineEdit>(change, "txtPasswordNew"), "nuova");
                QTest::keyClicks(child<QLineEdit>(change, "txtConferma"), "nuova");
            }
            click(child(change, leaveBy.toLatin1().constData()));
        }
        QCOMPARE(visibleScreens(), QStringList{"TfrmPassword"});
        QCOMPARE(txtPassword->text(), QString());
        QTRY_VERIFY(txtPassword->hasFocus());
    }
    QTest::keyClicks(txtPassword, leaveBy == "cmdOK" ? "nuova" : "segreto");
    click(child(password, "cmdOK"));
    QCOMPARE(visibleScreens(), QStringList{"TfrmAvvio"});
}

void TestScreenFlow::programEnds_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("launcher exit icon") << 0;
    QTest::newRow("launcher window closed") << 1;
    QTest::newRow("password screen Esci") << 2;
}

void TestScreenFlow::programEnds()
{
    QFETCH(int, way);
    QSignalSpy ended(screens_.get(), &ScreenSet::endRequested);
    if (way == 2) {
        click(child(screens_->password(), "cmdEsci"));
    } else {
        logIn();
        if (way == 0)
            click(child(screens_->avvio(), "imgEsci"));
        else
            screens_->avvio()->close();
    }
    QCOMPARE(ended.count(), 1);
    QVERIFY(folder_->platform.messages.shown().isEmpty());
}

// Under the program's own application object, as the program runs.
int main(int argc, char* argv[])
{
    Application app(argc, argv);
    TestScreenFlow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_screen_flow.moc"
