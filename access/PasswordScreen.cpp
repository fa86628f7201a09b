#include "access/PasswordScreen.h"

#include "access/FocusHighlight.h"
#include "access/PasswordFile.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureBox.h"
#include "platform/ScreenKeys.h"
#include "shell/Screen.h"
#include "storage/FieldText.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brivanto {
namespace {

const QString WrongPassword = QStringLiteral("Attenzione: password errata.");
const QString ReadFailure =
    QStringLiteral(u"Attenzione: si è verificato un errore durante la procedura di lettura della password. "
                   u"Si consiglia di reinstallare il software.");

QPushButton* makeButton(const QString& name, const QString& caption, const QRect& geometry, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

} // namespace

PasswordScreen::PasswordScreen(QWidget* parent) : QWidget(parent)
{
    prepareScreen(this, QStringLiteral("TfrmPassword"), QStringLiteral(" Brivanto - Immissione password"));
    makeFixedDialogWindow(this, 388, 405);

    auto* imgLogo =
        new platform::PictureBox(QStringLiteral("imgLogo"), QStringLiteral(":/access/logo.svg"), this);
    imgLogo->setGeometry(14, 12, 360, 150);

    auto* lblRigo05 = new QLabel(QStringLiteral("Immetti la password e premi OK."), this);
    lblRigo05->setObjectName(QStringLiteral("lblRigo05"));
    lblRigo05->setGeometry(14, 178, 360, 24);
    lblRigo05->setAlignment(Qt::AlignCenter);

    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setFont(QFont(QStringLiteral("Verdana"), 14, QFont::Bold));
    txtPassword->setGeometry(44, 220, 300, 36);
    lblRigo05->setBuddy(txtPassword); // the prompt names the field
    effPassword = new FocusHighlight(QStringLiteral("effPassword"), txtPassword, this);

    cmdOK = makeButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), QRect(44, 284, 145, 34), this);
    cmdOK->setEnabled(false);
    auto* cmdEsci =
        makeButton(QStringLiteral("cmdEsci"), QStringLiteral("Esci"), QRect(199, 284, 145, 34), this);
    auto* btnCambiaPassword = makeButton(QStringLiteral("btnCambiaPassword"),
                                         QStringLiteral("Cambia password"), QRect(44, 330, 300, 34), this);

    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdEsci);
    setTabOrder(cmdEsci, btnCambiaPassword);

    txtPassword->installEventFilter(this);
    connect(txtPassword, &QLineEdit::textChanged, this, &PasswordScreen::txtPasswordChange);
    connect(txtPassword, &QLineEdit::returnPressed, this, &PasswordScreen::txtPasswordKeyPress);
    connect(cmdOK, &QPushButton::clicked, this, &PasswordScreen::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &PasswordScreen::cmdEsciClick);
    connect(btnCambiaPassword, &QPushButton::clicked, this, &PasswordScreen::btnCambiaPasswordClick);
    // Escape does not end the program: only "Esci" does.
    platform::applyScreenKeys(this);
}

void PasswordScreen::showEmptied()
{
    txtPassword->clear();
    show();
    activateWindow();
    FormShow();
}

void PasswordScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void PasswordScreen::closeEvent(QCloseEvent* event)
{
    // The screen has no window buttons; a close from the desktop ends the run like "Esci".
    event->accept();
    Q_EMIT endRequested();
}

bool PasswordScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtPassword && event->type() == QEvent::KeyRelease)
        txtPasswordKeyUp();
    return QWidget::eventFilter(watched, event);
}

void PasswordScreen::FormShow()
{
    centreOnScreen(this);
    txtPassword->setFocus();
    effPassword->follow();
}

void PasswordScreen::txtPasswordChange()
{
    cmdOK->setEnabled(!trimmed(txtPassword->text()).isEmpty());
}

void PasswordScreen::txtPasswordKeyUp()
{
    txtPasswordChange();
}

void PasswordScreen::txtPasswordKeyPress()
{
    // Enter: only a non-blank text is checked, as with the OK button, which is disabled otherwise.
    if (!trimmed(txtPassword->text()).isEmpty())
        cmdOKClick();
}

void PasswordScreen::cmdOKClick()
{
    switch (checkPassword(txtPassword->text())) {
    case PasswordCheck::Right:
        Q_EMIT accepted();
        break;
    case PasswordCheck::Wrong:
        platform::plainNotice(this, WrongPassword);
        txtPassword->clear();
        txtPassword->setFocus();
        break;
    case PasswordCheck::Unreadable:
        platform::plainNotice(this, ReadFailure);
        break;
    }
}

void PasswordScreen::cmdEsciClick()
{
    Q_EMIT endRequested();
}

void PasswordScreen::btnCambiaPasswordClick()
{
    Q_EMIT changePasswordRequested();
}

} // namespace brivanto
