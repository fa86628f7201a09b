#include "access/ChangePasswordDialog.h"
#include "access/PasswordCodec.h"
#include "access/PasswordFile.h"
#include "access/PasswordScreen.h"
#include "platform/testing/ScriptedPlatform.h"

#include "AccessTestSupport.h"
#include "tests/support/TypeText.h"

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

const QString WrongOldPassword = QStringLiteral("Attenzione: vecchia password errata.");
const QString NotConfirmed =
    QStringLiteral(u"Attenzione: la nuova password non è stata confermata correttamente. "
                   u"E' necessario reinserire entrambi i valori.");
const QString ChangeFailure =
    QStringLiteral(u"Attenzione: si è verificato un errore durante la procedura di modifica della password. "
                   u"Si consiglia di reinstallare il software.");
const QString Changed = QStringLiteral("Modifica della password completata con successo.");

enum class FileSetup
{
    Missing,
    Undecodable,
    Folder,
    Unreadable,
    FullDisk,
    ReadOnlyFolder
};

// The change-password screen shown in a program folder of its own, with the boxes recorded.
struct Fixture
{
    TestProgramFolder folder;
    platform::testing::ScriptedPlatform platform;
    ChangePasswordDialog screen;
    QLineEdit* txtPasswordOld = screen.findChild<QLineEdit*>(QStringLiteral("txtPasswordOld"));
    QLineEdit* txtPasswordNew = screen.findChild<QLineEdit*>(QStringLiteral("txtPasswordNew"));
    QLineEdit* txtConferma = screen.findChild<QLineEdit*>(QStringLiteral("txtConferma"));
    QPushButton* cmdOK = screen.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    QPushButton* cmdEsci = screen.findChild<QPushButton*>(QStringLiteral("cmdEsci"));
    QSignalSpy closed{&screen, &ChangePasswordDialog::closed};

    bool open(const QByteArray& passwordFile = DeliveredFile)
    {
        if (!folder.isValid() || !txtPasswordOld || !txtPasswordNew || !txtConferma || !cmdOK || !cmdEsci)
            return false;
        if (!passwordFile.isNull() && !folder.writePasswordFile(passwordFile))
            return false;
        screen.show();
        return QTest::qWaitForWindowActive(&screen);
    }
    void fill(const QString& old, const QString& newPassword, const QString& confirmation)
    {
        typeText(txtPasswordOld, old);
        typeText(txtPasswordNew, newPassword);
        typeText(txtConferma, confirmation);
    }
    QStringList texts() const
    {
        return {txtPasswordOld->text(), txtPasswordNew->text(), txtConferma->text()};
    }
    QStringList messages() const { return platform.messages.texts(); }
};

// Whether the password screen lets `typed` in, with the file as it now is.
bool passwordScreenAccepts(const QString& typed)
{
    platform::testing::ScriptedPlatform platform;
    PasswordScreen screen;
    QSignalSpy accepted(&screen, &PasswordScreen::accepted);
    auto* field = screen.findChild<QLineEdit*>(QStringLiteral("txtPassword"));
    field->setText(typed);
    QTest::keyClick(field, Qt::Key_Return);
    return accepted.count() == 1 && platform.messages.shown().isEmpty();
}

} // namespace

Q_DECLARE_METATYPE(FileSetup)

class TestChangeScreen : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void screenContents();
    void everyShowingStartsAfresh();
    void okNeedsAllThreeFields_data();
    void okNeedsAllThreeFields();
    void enterWalksTheFields_data();
    void enterWalksTheFields();
    void refusals_data();
    void refusals();
    void successfulChange_data();
    void successfulChange();
    void failedChangeKeepsThePassword_data();
    void failedChangeKeepsThePassword();
    void chiudiLeavesEverythingAsItWas();
};

void TestChangeScreen::screenContents()
{
    Fixture f;
    QVERIFY(f.open());
    QCOMPARE(f.screen.objectName(), QStringLiteral("TfrmCambiaPassword"));
    QCOMPARE(f.screen.windowTitle(), QStringLiteral(" Cambia password"));
    QCOMPARE(f.screen.size(), QSize(411, 418));
    QCOMPARE(f.screen.minimumSize(), f.screen.maximumSize());
    QVERIFY(!(f.screen.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
    const QPoint centre = f.screen.screen()->availableGeometry().center();
    QVERIFY((f.screen.frameGeometry().center() - centre).manhattanLength() <= 2);
    QVERIFY(f.screen.findChild<QWidget*>(QStringLiteral("imgLogo")));

    const QList<std::pair<QString, QString>> labels{
        {QStringLiteral("lblRigo05"), QStringLiteral("Vecchia password:")},
        {QStringLiteral("lblRigo06"), QStringLiteral("Nuova password:")},
        {QStringLiteral("lblRigo07"), QStringLiteral("Conferma nuova password:")}};
    for (const auto& [name, text] : labels) {
        auto* label = f.screen.findChild<QLabel*>(name);
        QVERIFY2(label, qPrintable(name));
        QCOMPARE(label->text(), text);
    }
    for (QLineEdit* field : {f.txtPasswordOld, f.txtPasswordNew, f.txtConferma}) {
        QCOMPARE(field->echoMode(), QLineEdit::Password);
        QCOMPARE(field->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(field->font().pointSize(), 14);
        QVERIFY(field->font().bold());
    }
    QCOMPARE(f.cmdEsci->text(), QStringLiteral("Chiudi"));
    QCOMPARE(f.cmdOK->text(), QStringLiteral("OK"));

    QStringList tabOrder;
    const QStringList focusable{QStringLiteral("txtPasswordOld"), QStringLiteral("txtPasswordNew"),
                                QStringLiteral("txtConferma"), QStringLiteral("cmdEsci"),
                                QStringLiteral("cmdOK")};
    for (QWidget* w = f.txtPasswordOld; tabOrder.size() < focusable.size(); w = w->nextInFocusChain()) {
        if (focusable.contains(w->objectName()))
            tabOrder.append(w->objectName());
    }
    QCOMPARE(tabOrder, focusable);
}

void TestChangeScreen::everyShowingStartsAfresh()
{
    Fixture f;
    QVERIFY(f.open());
    f.fill(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));
    QVERIFY(f.cmdOK->isEnabled());

    // Back to the password screen and here again, the way the screen set switches: show, then hide.
    QWidget passwordScreen;
    passwordScreen.show();
    f.screen.hide();
    QVERIFY(QTest::qWaitForWindowActive(&passwordScreen));
    f.screen.show();
    passwordScreen.hide();
    QVERIFY(QTest::qWaitForWindowActive(&f.screen));
    QCOMPARE(f.texts(), QStringList(3, QString()));
    QVERIFY(!f.cmdOK->isEnabled());
    QTRY_VERIFY(f.txtPasswordOld->hasFocus());

    // Each field's highlight shows exactly while that field has the focus.
    const QList<std::pair<QLineEdit*, QString>> fields{{f.txtPasswordOld, QStringLiteral("effPasswordOld")},
                                                       {f.txtPasswordNew, QStringLiteral("effPasswordNew")},
                                                       {f.txtConferma, QStringLiteral("effConferma")}};
    for (const auto& [focused, unused] : fields) {
        focused->setFocus();
        QTRY_VERIFY(focused->hasFocus());
        for (const auto& [field, highlight] : fields)
            QCOMPARE(f.screen.findChild<QWidget*>(highlight)->isVisible(), field == focused);
    }
    f.cmdEsci->setFocus();
    QTRY_VERIFY(f.cmdEsci->hasFocus());
    for (const auto& [field, highlight] : fields)
        QVERIFY(!f.screen.findChild<QWidget*>(highlight)->isVisible());
}

void TestChangeScreen::okNeedsAllThreeFields_data()
{
    QTest::addColumn<QString>("old");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("only the old one") << QStringLiteral("x") << QString() << QString() << false;
    QTest::newRow("no confirmation") << QStringLiteral("x") << QStringLiteral("y") << QString() << false;
    QTest::newRow("no old one") << QString() << QStringLiteral("y") << QStringLiteral("y") << false;
    QTest::newRow("blank confirmation")
        << QStringLiteral("x") << QStringLiteral("y") << QStringLiteral("   ") << false;
    QTest::newRow("blank new one") << QStringLiteral("x") << QStringLiteral("  ") << QStringLiteral("  ")
                                   << false;
    QTest::newRow("all three") << QStringLiteral("x") << QStringLiteral("y") << QStringLiteral("z") << true;
    QTest::newRow("all three with blanks")
        << QStringLiteral(" x ") << QStringLiteral(" y") << QStringLiteral("z ") << true;
}

void TestChangeScreen::okNeedsAllThreeFields()
{
    QFETCH(QString, old);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(bool, enabled);

    Fixture f;
    QVERIFY(f.open());
    QVERIFY(!f.cmdOK->isEnabled());
    f.fill(old, newPassword, confirmation);
    QCOMPARE(f.cmdOK->isEnabled(), enabled);
}

void TestChangeScreen::enterWalksTheFields_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
}

void TestChangeScreen::enterWalksTheFields()
{
    QFETCH(int, key);

    // Everything is ready for a change, yet Enter only moves the focus round.
    Fixture f;
    QVERIFY(f.open());
    f.fill(QStringLiteral("benvenutissimo"), QStringLiteral("nuova"), QStringLiteral("nuova"));
    f.txtPasswordOld->setFocus();
    QTRY_VERIFY(f.txtPasswordOld->hasFocus());
    for (QLineEdit* next : {f.txtPasswordNew, f.txtConferma, f.txtPasswordOld}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QTRY_VERIFY(next->hasFocus());
    }
    QVERIFY(f.messages().isEmpty());
    QCOMPARE(f.closed.count(), 0);
    QCOMPARE(f.texts(), (QStringList{QStringLiteral("benvenutissimo"), QStringLiteral("nuova"),
                                     QStringLiteral("nuova")}));
    QCOMPARE(f.folder.passwordFileBytes(), DeliveredFile);
}

void TestChangeScreen::refusals_data()
{
    QTest::addColumn<bool>("fileMissing");
    QTest::addColumn<QString>("old");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QStringList>("textsAfter"); // "*" stands for the text as typed

    const QString right = QStringLiteral("benvenutissimo");
    const QString tooLong = QStringLiteral(u"Attenzione: la nuova password non può superare i 255 caratteri. "
                                           u"E' necessario reinserire entrambi i valori.");
    const QString unsupported = QStringLiteral(
        u"Attenzione: la nuova password contiene caratteri non ammessi, come il simbolo dell'euro. Sono "
        u"ammessi "
        u"soltanto le lettere, anche accentate, le cifre e i simboli dell'alfabeto latino occidentale. "
        u"E' necessario reinserire entrambi i valori.");
    const QStringList oldEmptied{QString(), QStringLiteral("*"), QStringLiteral("*")};
    const QStringList newEmptied{QStringLiteral("*"), QString(), QString()};
    const QString oldField = QStringLiteral("txtPasswordOld");
    const QString newField = QStringLiteral("txtPasswordNew");

    QTest::newRow("wrong old password")
        << false << QStringLiteral("benvenuto") << QStringLiteral("abc") << QStringLiteral("abc")
        << WrongOldPassword << oldField << oldEmptied;
    QTest::newRow("old password checked first")
        << false << QStringLiteral("benvenuto") << QStringLiteral("abc") << QStringLiteral("xyz")
        << WrongOldPassword << oldField << oldEmptied;
    QTest::newRow("no password file: every old password is wrong")
        << true << right << QStringLiteral("abc") << QStringLiteral("abc") << WrongOldPassword << oldField
        << oldEmptied;
    QTest::newRow("confirmation in other letter case")
        << false << right << QStringLiteral("abc") << QStringLiteral("ABC") << NotConfirmed << newField
        << newEmptied;
    QTest::newRow("blank inside the confirmation")
        << false << right << QStringLiteral("abc") << QStringLiteral("a bc") << NotConfirmed << newField
        << newEmptied;
    QTest::newRow("256 characters") << false << right << QString(256, QLatin1Char('x'))
                                    << QString(256, QLatin1Char('x')) << tooLong << newField << newEmptied;
    QTest::newRow("euro sign") << false << right << QStringLiteral(u"prezzo\u20AC")
                               << QStringLiteral(u"prezzo\u20AC") << unsupported << newField << newEmptied;
    QTest::newRow("letter beyond Latin-1 whose low byte is A")
        << false << right << QStringLiteral(u"\u0141odz") << QStringLiteral(u"\u0141odz") << unsupported
        << newField << newEmptied;
    QTest::newRow("character outside the basic plane")
        << false << right << QStringLiteral(u"dado\U0001F3B2") << QStringLiteral(u"dado\U0001F3B2")
        << unsupported << newField << newEmptied;
}

void TestChangeScreen::refusals()
{
    QFETCH(bool, fileMissing);
    QFETCH(QString, old);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QStringList, textsAfter);

    Fixture f;
    QVERIFY(f.open(fileMissing ? QByteArray() : DeliveredFile));
    f.fill(old, newPassword, confirmation);
    QTest::mouseClick(f.cmdOK, Qt::LeftButton);

    QCOMPARE(f.messages(), QStringList{message});
    QCOMPARE(f.platform.messages.shown().front().kind, MessageKind::Plain);
    QCOMPARE(f.platform.messages.shown().front().buttons, MessageButtons::Ok);
    const QStringList typed{old, newPassword, confirmation};
    for (qsizetype i = 0; i < typed.size(); ++i)
        QCOMPARE(f.texts()[i], textsAfter[i] == QStringLiteral("*") ? typed[i] : textsAfter[i]);
    QVERIFY(!f.cmdOK->isEnabled());
    QTRY_COMPARE(QApplication::focusWidget()->objectName(), focus);

    QVERIFY(f.screen.isVisible());
    QCOMPARE(f.closed.count(), 0);
    QCOMPARE(f.folder.passwordFileBytes(), fileMissing ? QByteArray() : DeliveredFile);
    QCOMPARE(f.folder.entries().size(), fileMissing ? 0 : 1);
}

void TestChangeScreen::successfulChange_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("old");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QStringList>("accepted");
    QTest::addColumn<QStringList>("refused");

    const QString right = QStringLiteral("benvenutissimo");
    const QByteArray abc = QByteArrayLiteral("[Accesso]\r\nValore=4E04DF\r\n");
    const QStringList abcVariants{QStringLiteral("ABC"), QStringLiteral("abc"), QStringLiteral("Abc"),
                                  QStringLiteral("  aBc ")};
    const QStringList notAbc{QStringLiteral("ab"), right};

    QTest::newRow("stored in capitals")
        << DeliveredFile << QStringLiteral("BenvenutissimO") << QStringLiteral("abc") << QStringLiteral("abc")
        << abc << abcVariants << notAbc;
    QTest::newRow("blanks around ignored")
        << DeliveredFile << QStringLiteral("  benvenutissimo ") << QStringLiteral("  abc ")
        << QStringLiteral("abc   ") << abc << abcVariants << notAbc;
    QTest::newRow("same as the current one")
        << DeliveredFile << right << right << right << DeliveredFile
        << QStringList{right, QStringLiteral("BENVENUTISSIMO")} << QStringList{QStringLiteral("abc")};
    QTest::newRow("other lines and sections kept")
        << QByteArray("; note\r\n[Generale]\r\nNome=Caff\xE8\r\n\r\n[Accesso]\r\nValore=" +
                      DeliveredPassword + "\r\nAltro=1\r\n\r\n[Fine]\r\nX=Y\r\n")
        << right << QStringLiteral("abc") << QStringLiteral("abc")
        << QByteArray(
               "; note\r\n[Generale]\r\nNome=Caff\xE8\r\n\r\n[Accesso]\r\nValore=4E04DF\r\nAltro=1\r\n\r\n"
               "[Fine]\r\nX=Y\r\n")
        << abcVariants << notAbc;
    QTest::newRow("line feeds kept") << QByteArray("[Accesso]\nValore=" + DeliveredPassword + "\n") << right
                                     << QStringLiteral("abc") << QStringLiteral("abc")
                                     << QByteArray("[Accesso]\nValore=4E04DF\n") << abcVariants << notAbc;

    const QString longest(255, QLatin1Char('z'));
    const QByteArray longestFile = passwordFileWith(QString(255, QLatin1Char('Z')));
    QTest::newRow("255 characters") << DeliveredFile << right << longest << longest << longestFile
                                    << QStringList{longest} << QStringList{longest.left(254)};
    QTest::newRow("255 characters and blanks around")
        << DeliveredFile << right << QStringLiteral("  ") + longest + QStringLiteral(" ") << longest
        << longestFile << QStringList{longest} << QStringList{longest + QLatin1Char('z')};

    QTest::newRow("small accented letter")
        << DeliveredFile << right << QStringLiteral(u"caff\u00E8") << QStringLiteral(u"caff\u00E8")
        << QByteArray("[Accesso]\r\nValore=4C14BEFAFC\r\n")
        << QStringList{QStringLiteral(u"caff\u00E8"), QStringLiteral(u"CAFF\u00E8")}
        << QStringList{QStringLiteral(u"CAFF\u00C8"), QStringLiteral("caffe")};
    QTest::newRow("capital accented letter")
        << DeliveredFile << right << QStringLiteral(u"caff\u00C8") << QStringLiteral(u"caff\u00C8")
        << passwordFileWith(QStringLiteral(u"CAFF\u00C8")) << QStringList{QStringLiteral(u"Caff\u00C8")}
        << QStringList{QStringLiteral(u"caff\u00E8")};
}

void TestChangeScreen::successfulChange()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, old);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(QByteArray, after);
    QFETCH(QStringList, accepted);
    QFETCH(QStringList, refused);

    Fixture f;
    QVERIFY(f.open(before));
    f.fill(old, newPassword, confirmation);
    QTest::mouseClick(f.cmdOK, Qt::LeftButton);

    QCOMPARE(f.messages(), QStringList{Changed});
    QCOMPARE(f.closed.count(), 1);
    QVERIFY(!f.screen.isVisible());
    QCOMPARE(f.folder.passwordFileBytes(), after);
    QCOMPARE(f.folder.entries(), QStringList{QStringLiteral("unins000.dll")});

    for (const QString& typed : std::as_const(accepted))
        QVERIFY2(passwordScreenAccepts(typed), qPrintable(typed));
    for (const QString& typed : std::as_const(refused))
        QVERIFY2(!passwordScreenAccepts(typed), qPrintable(typed));
}

void TestChangeScreen::failedChangeKeepsThePassword_data()
{
    QTest::addColumn<FileSetup>("setup");
    QTest::addColumn<bool>("oldStillAccepted");

    QTest::newRow("stored value not hexadecimal") << FileSetup::Undecodable << false;
    QTest::newRow("password file is a folder") << FileSetup::Folder << false;
    QTest::newRow("password file unreadable") << FileSetup::Unreadable << false;
    QTest::newRow("disk full") << FileSetup::FullDisk << true;
    QTest::newRow("program folder read-only") << FileSetup::ReadOnlyFolder << true;
}

void TestChangeScreen::failedChangeKeepsThePassword()
{
    QFETCH(FileSetup, setup);
    QFETCH(bool, oldStillAccepted);

    const QByteArray undecodable = QByteArrayLiteral("[Accesso]\r\nValore=4D8B4C4A1AEB37AB82DE806E58ZZ\r\n");
    Fixture f;
    QVERIFY(f.open(setup == FileSetup::Undecodable ? undecodable
                   : setup == FileSetup::Folder    ? QByteArray()
                                                   : DeliveredFile));
    const QByteArray before = f.folder.passwordFileBytes();
    std::optional<FullDisk> fullDisk;
    switch (setup) {
    case FileSetup::Folder:
        QVERIFY(QDir(f.folder.path()).mkdir(QStringLiteral("unins000.dll")));
        break;
    case FileSetup::Unreadable:
        if (!makeUnreadable(f.folder.passwordFile()))
            QSKIP("This user reads files without read permission (root)");
        break;
    case FileSetup::ReadOnlyFolder:
        if (!makeReadOnlyFolder(f.folder.path()))
            QSKIP("This user writes into read-only folders (root)");
        break;
    default:
        break;
    }

    const QStringList typed{QStringLiteral("benvenutissimo"), QStringLiteral("abc"), QStringLiteral("abc")};
    f.fill(typed[0], typed[1], typed[2]);
    if (setup == FileSetup::FullDisk) {
        fullDisk.emplace();
        QVERIFY(fullDisk->isActive());
    }
    QTest::mouseClick(f.cmdOK, Qt::LeftButton);
    fullDisk.reset();

    QCOMPARE(f.messages(), QStringList{ChangeFailure});
    QCOMPARE(f.texts(), typed);
    QVERIFY(f.cmdOK->isEnabled());
    QVERIFY(f.screen.isVisible());
    QCOMPARE(f.closed.count(), 0);

    ::chmod(QFile::encodeName(f.folder.path()).constData(), 0700);
    ::chmod(QFile::encodeName(f.folder.passwordFile()).constData(), 0600);
    QCOMPARE(f.folder.passwordFileBytes(), before);
    QCOMPARE(f.folder.entries(), QStringList{QStringLiteral("unins000.dll")});
    if (oldStillAccepted) {
        QVERIFY(passwordScreenAccepts(QStringLiteral("benvenutissimo")));
        QVERIFY(!passwordScreenAccepts(QStringLiteral("abc")));
    }
}

void TestChangeScreen::chiudiLeavesEverythingAsItWas()
{
    Fixture f;
    QVERIFY(f.open());
    f.fill(QStringLiteral("benvenutissimo"), QStringLiteral("abc"), QStringLiteral("abc"));
    QTest::mouseClick(f.cmdEsci, Qt::LeftButton);
    QCOMPARE(f.closed.count(), 1);
    QVERIFY(!f.screen.isVisible());
    QVERIFY(f.messages().isEmpty());
    QCOMPARE(f.folder.passwordFileBytes(), DeliveredFile);
}

QTEST_MAIN(TestChangeScreen)
#include "tst_access_change_screen.moc"
