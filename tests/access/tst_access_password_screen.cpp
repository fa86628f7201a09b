#include "access/PasswordCodec.h"
#include "access/PasswordScreen.h"
#include "platform/testing/ScriptedPlatform.h"

#include "AccessTestSupport.h"
#include "tests/support/TypeText.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace brivanto;
using namespace brivanto::testing;
using platform::MessageButtons;
using platform::MessageKind;

namespace {

const QString WrongPassword = QStringLiteral("Attenzione: password errata.");
const QString ReadFailure =
    QStringLiteral(u"Attenzione: si è verificato un errore durante la procedura di lettura della password. "
                   u"Si consiglia di reinstallare il software.");

enum class Outcome
{
    Accepted,
    Wrong,
    ReadError
};

// How the password file is laid out before the attempt.
enum class FileSetup
{
    Content,
    Missing,
    Folder,
    Unreadable
};

// The password screen shown in a program folder of its own, with the boxes recorded.
struct Fixture
{
    TestProgramFolder folder;
    platform::testing::ScriptedPlatform platform;
    PasswordScreen screen;
    QLineEdit* txtPassword = screen.findChild<QLineEdit*>(QStringLiteral("txtPassword"));
    QPushButton* cmdOK = screen.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    QWidget* effPassword = screen.findChild<QWidget*>(QStringLiteral("effPassword"));
    QSignalSpy accepted{&screen, &PasswordScreen::accepted};
    QSignalSpy changeRequested{&screen, &PasswordScreen::changePasswordRequested};
    QSignalSpy endRequested{&screen, &PasswordScreen::endRequested};

    bool open()
    {
        if (!folder.isValid() || !txtPassword || !cmdOK || !effPassword)
            return false;
        screen.showEmptied();
        return QTest::qWaitForWindowActive(&screen);
    }
    QStringList messages() const { return platform.messages.texts(); }
};

} // namespace

Q_DECLARE_METATYPE(Outcome)
Q_DECLARE_METATYPE(FileSetup)

class TestPasswordScreen : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void screenContents();
    void okFollowsTheTrimmedText_data();
    void okFollowsTheTrimmedText();
    void enterInTheField_data();
    void enterInTheField();
    void checkingThePassword_data();
    void checkingThePassword();
    void attemptsAreUnlimited();
    void buttonsAskTheScreenSet_data();
    void buttonsAskTheScreenSet();
    void showEmptiedStartsAfresh();
    void highlightFollowsTheFocus();
};

void TestPasswordScreen::screenContents()
{
    Fixture f;
    QVERIFY(f.open());
    QCOMPARE(f.screen.objectName(), QStringLiteral("TfrmPassword"));
    QCOMPARE(f.screen.windowTitle(), QStringLiteral(" Brivanto - Immissione password"));
    QCOMPARE(f.screen.size(), QSize(388, 405));
    QCOMPARE(f.screen.minimumSize(), f.screen.maximumSize());
    QVERIFY(!(f.screen.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
    const QPoint centre = f.screen.screen()->availableGeometry().center();
    QVERIFY((f.screen.frameGeometry().center() - centre).manhattanLength() <= 2);

    QVERIFY(f.screen.findChild<QWidget*>(QStringLiteral("imgLogo")));
    auto* prompt = f.screen.findChild<QLabel*>(QStringLiteral("lblRigo05"));
    QVERIFY(prompt);
    QCOMPARE(prompt->text(), QStringLiteral("Immetti la password e premi OK."));
    QCOMPARE(f.txtPassword->echoMode(), QLineEdit::Password);
    QCOMPARE(f.txtPassword->font().family(), QStringLiteral("Verdana"));
    QCOMPARE(f.txtPassword->font().pointSize(), 14);
    QVERIFY(f.txtPassword->font().bold());
    QCOMPARE(f.cmdOK->text(), QStringLiteral("OK"));
    QVERIFY(!f.cmdOK->isEnabled());
    QCOMPARE(f.screen.findChild<QPushButton*>(QStringLiteral("cmdEsci"))->text(), QStringLiteral("Esci"));
    QCOMPARE(f.screen.findChild<QPushButton*>(QStringLiteral("btnCambiaPassword"))->text(),
             QStringLiteral("Cambia password"));

    QStringList tabOrder;
    const QStringList focusable{QStringLiteral("txtPassword"), QStringLiteral("cmdOK"),
                                QStringLiteral("cmdEsci"), QStringLiteral("btnCambiaPassword")};
    for (QWidget* w = f.txtPassword; tabOrder.size() < focusable.size(); w = w->nextInFocusChain()) {
        if (focusable.contains(w->objectName()))
            tabOrder.append(w->objectName());
    }
    QCOMPARE(tabOrder, focusable);
    QTRY_VERIFY(f.txtPassword->hasFocus());
}

void TestPasswordScreen::okFollowsTheTrimmedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("typed"); // control characters cannot be typed: they are pasted
    QTest::addColumn<bool>("enabled");

    QTest::newRow("blanks") << QStringLiteral("   ") << true << false;
    QTest::newRow("letter") << QStringLiteral("a") << true << true;
    QTest::newRow("blanks around a letter") << QStringLiteral("  a  ") << true << true;
    QTest::newRow("no-break space is not blank") << QStringLiteral(u"\u00A0") << true << true;
    QTest::newRow("control characters") << QStringLiteral("\x01\t\x1F ") << false << false;
    QTest::newRow("control characters around a letter") << QStringLiteral("\x01x\x1F") << false << true;
}

void TestPasswordScreen::okFollowsTheTrimmedText()
{
    QFETCH(QString, text);
    QFETCH(bool, typed);
    QFETCH(bool, enabled);

    Fixture f;
    QVERIFY(f.open());
    if (typed)
        typeText(f.txtPassword, text);
    else
        f.txtPassword->setText(text);
    QCOMPARE(f.txtPassword->text(), text);
    QCOMPARE(f.cmdOK->isEnabled(), enabled);

    // Emptying the field by keyboard always disables OK again.
    QTest::keyClick(f.txtPassword, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(f.txtPassword, Qt::Key_Delete);
    QVERIFY(f.txtPassword->text().isEmpty());
    QVERIFY(!f.cmdOK->isEnabled());
    QVERIFY(f.messages().isEmpty());
}

void TestPasswordScreen::enterInTheField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("acceptedCount");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("empty") << QString() << int(Qt::Key_Return) << 0 << QStringList();
    QTest::newRow("blanks") << QStringLiteral("   ") << int(Qt::Key_Return) << 0 << QStringList();
    QTest::newRow("wrong") << QStringLiteral("sbagliata") << int(Qt::Key_Return) << 0
                           << QStringList{WrongPassword};
    QTest::newRow("right") << QStringLiteral(" benvenutissimo ") << int(Qt::Key_Return) << 1 << QStringList();
    QTest::newRow("right, keypad Enter")
        << QStringLiteral("benvenutissimo") << int(Qt::Key_Enter) << 1 << QStringList();
}

void TestPasswordScreen::enterInTheField()
{
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(int, acceptedCount);
    QFETCH(QStringList, messages);

    Fixture f;
    QVERIFY(f.folder.writePasswordFile(DeliveredFile));
    QVERIFY(f.open());
    typeText(f.txtPassword, text);
    QTest::keyClick(f.txtPassword, Qt::Key(key));
    QCOMPARE(f.accepted.count(), acceptedCount);
    QCOMPARE(f.messages(), messages);
    QCOMPARE(f.changeRequested.count() + f.endRequested.count(), 0);
    QCOMPARE(f.folder.passwordFileBytes(), DeliveredFile);
}

void TestPasswordScreen::checkingThePassword_data()
{
    QTest::addColumn<FileSetup>("setup");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Outcome>("outcome");

    const FileSetup content = FileSetup::Content;
    const QByteArray hex = DeliveredPassword;
    const QByteArray& delivered = DeliveredFile;
    const QString initial = QStringLiteral("benvenutissimo");

    // The typed side: ASCII letters in any case, blanks around ignored, blanks inside counted.
    QTest::newRow("small letters") << content << delivered << initial << Outcome::Accepted;
    QTest::newRow("capitals") << content << delivered << QStringLiteral("BENVENUTISSIMO")
                              << Outcome::Accepted;
    QTest::newRow("mixed case, blanks around")
        << content << delivered << QStringLiteral("  BenVenutissimO   ") << Outcome::Accepted;
    QTest::newRow("blank inside") << content << delivered << QStringLiteral("benvenuti ssimo")
                                  << Outcome::Wrong;
    QTest::newRow("one letter short")
        << content << delivered << QStringLiteral("benvenutissim") << Outcome::Wrong;
    QTest::newRow("no-break space after")
        << content << delivered << QStringLiteral(u"benvenutissimo\u00A0") << Outcome::Wrong;

    // Accented letters are compared exactly, on both sides.
    const QByteArray smallE = passwordFileWith(QStringLiteral(u"CAFF\u00E8"));
    const QByteArray capitalE = passwordFileWith(QStringLiteral(u"CAFF\u00C8"));
    QTest::newRow("stored small accent, typed small")
        << content << smallE << QStringLiteral(u"caff\u00E8") << Outcome::Accepted;
    QTest::newRow("stored small accent, typed capital")
        << content << smallE << QStringLiteral(u"CAFF\u00C8") << Outcome::Wrong;
    QTest::newRow("stored capital accent, typed capital")
        << content << capitalE << QStringLiteral(u"caff\u00C8") << Outcome::Accepted;
    QTest::newRow("stored capital accent, typed small")
        << content << capitalE << QStringLiteral(u"caff\u00E8") << Outcome::Wrong;

    // The file as the profile reader sees it.
    QTest::newRow("missing file") << FileSetup::Missing << QByteArray() << initial << Outcome::Wrong;
    QTest::newRow("empty file") << content << QByteArray("") << initial << Outcome::Wrong;
    QTest::newRow("no section") << content << QByteArray("Valore=" + hex + "\r\n") << initial
                                << Outcome::Wrong;
    QTest::newRow("key in another section")
        << content << QByteArray("[Altro]\r\nValore=" + hex + "\r\n[Accesso]\r\n") << initial
        << Outcome::Wrong;
    QTest::newRow("no key") << content << QByteArray("[Accesso]\r\nAltro=" + hex + "\r\n") << initial
                            << Outcome::Wrong;
    QTest::newRow("empty value") << content << QByteArray("[Accesso]\r\nValore=\r\n") << initial
                                 << Outcome::Wrong;
    QTest::newRow("names in capitals")
        << content << QByteArray("[ACCESSO]\r\nVALORE=" + hex + "\r\n") << initial << Outcome::Accepted;
    QTest::newRow("names in small letters")
        << content << QByteArray("[accesso]\r\nvalore=" + hex + "\r\n") << initial << Outcome::Accepted;
    QTest::newRow("line feeds only") << content
                                     << QByteArray("[Generale]\nA=1\n[Accesso]\nValore=" + hex + "\n")
                                     << initial << Outcome::Accepted;
    QTest::newRow("no line end at all")
        << content << QByteArray("[Accesso]\r\nValore=" + hex) << initial << Outcome::Accepted;
    QTest::newRow("blanks around names and value")
        << content << QByteArray(" [ Accesso ] \r\n\t Valore =   " + hex + " \t\r\n") << initial
        << Outcome::Accepted;
    QTest::newRow("value in quotes") << content << QByteArray("[Accesso]\r\nValore=\"" + hex + "\"\r\n")
                                     << initial << Outcome::Accepted;
    QTest::newRow("other sections around")
        << content
        << QByteArray("; note\r\n[A]\r\nValore=00\r\n\r\n[Accesso]\r\nValore=" + hex + "\r\n[B]\r\nX=1\r\n")
        << initial << Outcome::Accepted;
    QTest::newRow("odd number of digits")
        << content << QByteArray("[Accesso]\r\nValore=" + hex + "7\r\n") << initial << Outcome::Accepted;
    QTest::newRow("lower-case digits")
        << content << QByteArray("[Accesso]\r\nValore=" + hex.toLower() + "\r\n") << initial
        << Outcome::Accepted;
    QTest::newRow("stored with blanks and controls around")
        << content << passwordFileWith(QStringLiteral("  BENVENUTISSIMO \x01\x1F")) << initial
        << Outcome::Accepted;

    // A file that cannot be read is an error, never a wrong password.
    QByteArray badPair = hex;
    badPair[4] = 'G';
    QTest::newRow("pair not hexadecimal")
        << content << QByteArray("[Accesso]\r\nValore=" + badPair + "\r\n") << initial << Outcome::ReadError;
    QTest::newRow("sign in a pair") << content << QByteArray("[Accesso]\r\nValore=+D" + hex.mid(2) + "\r\n")
                                    << initial << Outcome::ReadError;
    QTest::newRow("file is a folder") << FileSetup::Folder << QByteArray() << initial << Outcome::ReadError;
    QTest::newRow("file unreadable") << FileSetup::Unreadable << delivered << initial << Outcome::ReadError;
}

void TestPasswordScreen::checkingThePassword()
{
    QFETCH(FileSetup, setup);
    QFETCH(QByteArray, content);
    QFETCH(QString, typed);
    QFETCH(Outcome, outcome);

    Fixture f;
    QVERIFY(f.folder.isValid());
    switch (setup) {
    case FileSetup::Content:
        QVERIFY(f.folder.writePasswordFile(content));
        break;
    case FileSetup::Missing:
        break;
    case FileSetup::Folder:
        QVERIFY(QDir(f.folder.path()).mkdir(QStringLiteral("unins000.dll")));
        break;
    case FileSetup::Unreadable:
        QVERIFY(f.folder.writePasswordFile(content));
        if (!makeUnreadable(f.folder.passwordFile()))
            QSKIP("This user reads files without read permission (root)");
        break;
    }
    QVERIFY(f.open());

    typeText(f.txtPassword, typed);
    QVERIFY(f.cmdOK->isEnabled());
    QTest::mouseClick(f.cmdOK, Qt::LeftButton);

    switch (outcome) {
    case Outcome::Accepted:
        QCOMPARE(f.accepted.count(), 1);
        QVERIFY(f.messages().isEmpty());
        break;
    case Outcome::Wrong:
        QCOMPARE(f.messages(), QStringList{WrongPassword});
        QVERIFY(f.txtPassword->text().isEmpty());
        QVERIFY(!f.cmdOK->isEnabled());
        QTRY_VERIFY(f.txtPassword->hasFocus());
        break;
    case Outcome::ReadError:
        QCOMPARE(f.messages(), QStringList{ReadFailure});
        QCOMPARE(f.txtPassword->text(), typed);
        QVERIFY(f.cmdOK->isEnabled());
        break;
    }
    if (!f.messages().isEmpty()) {
        const platform::testing::ShownMessage& box = f.platform.messages.shown().front();
        QCOMPARE(box.kind, MessageKind::Plain);
        QCOMPARE(box.buttons, MessageButtons::Ok);
        QCOMPARE(f.accepted.count(), 0);
    }
    QCOMPARE(f.changeRequested.count() + f.endRequested.count(), 0);

    // Checking never writes: the file, or its absence, is left exactly as it was.
    ::chmod(QFile::encodeName(f.folder.passwordFile()).constData(), 0600);
    QCOMPARE(f.folder.passwordFileBytes(), content);
    QCOMPARE(QFileInfo(f.folder.passwordFile()).isDir(), setup == FileSetup::Folder);
    QCOMPARE(f.folder.entries().size(), setup == FileSetup::Missing ? 0 : 1);
}

void TestPasswordScreen::attemptsAreUnlimited()
{
    Fixture f;
    QVERIFY(f.folder.writePasswordFile(DeliveredFile));
    QVERIFY(f.open());
    for (int attempt = 0; attempt < 5; ++attempt) {
        typeText(f.txtPassword, QStringLiteral("tentativo"));
        QTest::keyClick(f.txtPassword, Qt::Key_Return);
    }
    QCOMPARE(f.messages(), QStringList(5, WrongPassword));
    typeText(f.txtPassword, QStringLiteral("Benvenutissimo"));
    QTest::keyClick(f.txtPassword, Qt::Key_Return);
    QCOMPARE(f.accepted.count(), 1);
    QCOMPARE(f.messages().size(), 5);
}

void TestPasswordScreen::buttonsAskTheScreenSet_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("change");
    QTest::addColumn<bool>("end");

    QTest::newRow("Esci") << QStringLiteral("cmdEsci") << false << true;
    QTest::newRow("Cambia password") << QStringLiteral("btnCambiaPassword") << true << false;
}

void TestPasswordScreen::buttonsAskTheScreenSet()
{
    QFETCH(QString, button);
    QFETCH(bool, change);
    QFETCH(bool, end);

    Fixture f;
    QVERIFY(f.folder.writePasswordFile(DeliveredFile));
    QVERIFY(f.open());
    typeText(f.txtPassword, QStringLiteral("benvenutissimo"));
    QTest::mouseClick(f.screen.findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(f.changeRequested.count(), int(change));
    QCOMPARE(f.endRequested.count(), int(end));
    QCOMPARE(f.accepted.count(), 0);
    QVERIFY(f.messages().isEmpty());
    QCOMPARE(f.folder.passwordFileBytes(), DeliveredFile);
}

void TestPasswordScreen::showEmptiedStartsAfresh()
{
    Fixture f;
    QVERIFY(f.open());
    typeText(f.txtPassword, QStringLiteral("parziale"));
    QTest::keyClick(f.txtPassword, Qt::Key_Tab);
    QTRY_VERIFY(!f.txtPassword->hasFocus());

    // Away to another screen and back, the way the screen set switches: show, then hide.
    QWidget otherScreen;
    otherScreen.show();
    f.screen.hide();
    QVERIFY(QTest::qWaitForWindowActive(&otherScreen));
    f.screen.showEmptied();
    otherScreen.hide();
    QVERIFY(QTest::qWaitForWindowActive(&f.screen));
    QVERIFY(f.txtPassword->text().isEmpty());
    QVERIFY(!f.cmdOK->isEnabled());
    QTRY_VERIFY(f.txtPassword->hasFocus());
    QVERIFY(f.effPassword->isVisible());
}

void TestPasswordScreen::highlightFollowsTheFocus()
{
    Fixture f;
    QVERIFY(f.open());
    QTRY_VERIFY(f.txtPassword->hasFocus());
    QVERIFY(f.effPassword->isVisible());
    QVERIFY(f.effPassword->geometry().contains(f.txtPassword->geometry()));

    // Yellow fill, border fading to white at the outer edge.
    const QImage look = f.effPassword->grab().toImage();
    QCOMPARE(look.pixelColor(look.width() / 2, look.height() / 2), QColor(Qt::yellow));
    QCOMPARE(look.pixelColor(0, 0), QColor(Qt::white));

    QTest::keyClick(f.txtPassword, Qt::Key_Tab);
    QTRY_VERIFY(!f.txtPassword->hasFocus());
    QVERIFY(!f.effPassword->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTRY_VERIFY(f.txtPassword->hasFocus());
    QVERIFY(f.effPassword->isVisible());
}

QTEST_MAIN(TestPasswordScreen)
#include "tst_access_password_screen.moc"
