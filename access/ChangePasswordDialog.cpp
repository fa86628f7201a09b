#include "access/ChangePasswordDialog.h"

#include "access/FocusHighlight.h"
#include "access/PasswordFile.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureBox.h"
#include "platform/ScreenKeys.h"
#include "shell/Screen.h"
#include "storage/FieldText.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brivanto {
namespace {

const QString WrongOldPassword = QStringLiteral("Attenzione: vecchia password errata.");
const QString NotConfirmed =
    QStringLiteral(u"Attenzione: la nuova password non è stata confermata correttamente. "
                   u"E' necessario reinserire entrambi i valori.");
const QString TooLong = QStringLiteral(u"Attenzione: la nuova password non può superare i 255 caratteri. "
                                       u"E' necessario reinserire entrambi i valori.");
const QString UnsupportedCharacter = QStringLiteral(
    u"Attenzione: la nuova password contiene caratteri non ammessi, come il simbolo dell'euro. "
    u"Sono ammessi soltanto le lettere, anche accentate, le cifre e i simboli dell'alfabeto "
    u"latino occidentale. E' necessario reinserire entrambi i valori.");
const QString ChangeFailure =
    QStringLiteral(u"Attenzione: si è verificato un errore durante la procedura di modifica della password. "
                   u"Si consiglia di reinstallare il software.");
const QString Changed = QStringLiteral("Modifica della password completata con successo.");

const QFont& fieldFont()
{
    static const QFont font(QStringLiteral("Verdana"), 14, QFont::Bold);
    return font;
}

QLabel* makeLabel(const QString& name, const QString& text, int y, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(56, y, 300, 20);
    return label;
}

QLineEdit* makeField(const QString& name, int y, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setEchoMode(QLineEdit::Password);
    field->setFont(fieldFont());
    field->setGeometry(56, y, 300, 36);
    return field;
}

QPushButton* makeButton(const QString& name, const QString& caption, int x, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(x, 360, 145, 34);
    return button;
}

} // namespace

ChangePasswordDialog::ChangePasswordDialog(QWidget* parent) : QWidget(parent)
{
    prepareScreen(this, QStringLiteral("TfrmCambiaPassword"), QStringLiteral(" Cambia password"));
    makeFixedDialogWindow(this, 411, 418);

    auto* imgLogo =
        new platform::PictureBox(QStringLiteral("imgLogo"), QStringLiteral(":/access/logo.svg"), this);
    imgLogo->setGeometry(26, 10, 360, 120);

    // Each prompt names its field.
    QLabel* prompt = makeLabel(QStringLiteral("lblRigo05"), QStringLiteral("Vecchia password:"), 138, this);
    txtPasswordOld = makeField(QStringLiteral("txtPasswordOld"), 160, this);
    prompt->setBuddy(txtPasswordOld);
    prompt = makeLabel(QStringLiteral("lblRigo06"), QStringLiteral("Nuova password:"), 208, this);
    txtPasswordNew = makeField(QStringLiteral("txtPasswordNew"), 230, this);
    prompt->setBuddy(txtPasswordNew);
    prompt = makeLabel(QStringLiteral("lblRigo07"), QStringLiteral("Conferma nuova password:"), 278, this);
    txtConferma = makeField(QStringLiteral("txtConferma"), 300, this);
    prompt->setBuddy(txtConferma);
    effPasswordOld = new FocusHighlight(QStringLiteral("effPasswordOld"), txtPasswordOld, this);
    effPasswordNew = new FocusHighlight(QStringLiteral("effPasswordNew"), txtPasswordNew, this);
    effConferma = new FocusHighlight(QStringLiteral("effConferma"), txtConferma, this);

    auto* cmdEsci = makeButton(QStringLiteral("cmdEsci"), QStringLiteral("Chiudi"), 56, this);
    cmdOK = makeButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), 211, this);
    cmdOK->setEnabled(false);

    setTabOrder(txtPasswordOld, txtPasswordNew);
    setTabOrder(txtPasswordNew, txtConferma);
    setTabOrder(txtConferma, cmdEsci);
    setTabOrder(cmdEsci, cmdOK);

    for (QLineEdit* field : {txtPasswordOld, txtPasswordNew, txtConferma}) {
        field->installEventFilter(this);
        connect(field, &QLineEdit::textChanged, this, &ChangePasswordDialog::txtPasswordChange);
    }
    connect(txtPasswordOld, &QLineEdit::returnPressed, this, &ChangePasswordDialog::txtPasswordOldKeyPress);
    connect(txtPasswordNew, &QLineEdit::returnPressed, this, &ChangePasswordDialog::txtPasswordNewKeyPress);
    connect(txtConferma, &QLineEdit::returnPressed, this, &ChangePasswordDialog::txtConfermaKeyPress);
    connect(cmdOK, &QPushButton::clicked, this, &ChangePasswordDialog::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &ChangePasswordDialog::cmdEsciClick);
    platform::applyScreenKeys(this, {.escape = [this] { cmdEsciClick(); }});
}

void ChangePasswordDialog::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void ChangePasswordDialog::closeEvent(QCloseEvent* event)
{
    // No window buttons; a close from the desktop counts as "Chiudi".
    event->accept();
    Q_EMIT closed();
}

bool ChangePasswordDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease &&
        (watched == txtPasswordOld || watched == txtPasswordNew || watched == txtConferma))
        txtPasswordChange();
    return QWidget::eventFilter(watched, event);
}

void ChangePasswordDialog::FormShow()
{
    // Every showing starts afresh: three empty fields, OK disabled, the current password first.
    txtPasswordOld->clear();
    txtPasswordNew->clear();
    txtConferma->clear();
    centreOnScreen(this);
    txtPasswordOld->setFocus();
    for (FocusHighlight* highlight : {effPasswordOld, effPasswordNew, effConferma})
        highlight->follow();
}

void ChangePasswordDialog::txtPasswordChange()
{
    cmdOK->setEnabled(!trimmed(txtPasswordOld->text()).isEmpty() &&
                      !trimmed(txtPasswordNew->text()).isEmpty() && !trimmed(txtConferma->text()).isEmpty());
}

// Enter walks the three fields round; it never presses OK on this screen.
void ChangePasswordDialog::txtPasswordOldKeyPress()
{
    txtPasswordNew->setFocus();
}

void ChangePasswordDialog::txtPasswordNewKeyPress()
{
    txtConferma->setFocus();
}

void ChangePasswordDialog::txtConfermaKeyPress()
{
    txtPasswordOld->setFocus();
}

void ChangePasswordDialog::cmdOKClick()
{
    // The current password first, the confirmation second, then what the file can keep.
    switch (checkPassword(txtPasswordOld->text())) {
    case PasswordCheck::Unreadable:
        platform::plainNotice(this, ChangeFailure);
        return;
    case PasswordCheck::Wrong:
        platform::plainNotice(this, WrongOldPassword);
        txtPasswordOld->clear();
        txtPasswordOld->setFocus();
        return;
    case PasswordCheck::Right:
        break;
    }
    if (trimmed(txtPasswordNew->text()) != trimmed(txtConferma->text())) {
        refuseNewPassword(NotConfirmed);
        return;
    }
    switch (newPasswordProblem(txtPasswordNew->text())) {
    case NewPasswordProblem::TooLong:
        refuseNewPassword(TooLong);
        return;
    case NewPasswordProblem::UnsupportedCharacter:
        refuseNewPassword(UnsupportedCharacter);
        return;
    case NewPasswordProblem::None:
        break;
    }
    if (!writeStoredPassword(txtPasswordNew->text())) {
        platform::plainNotice(this, ChangeFailure);
        return;
    }
    platform::plainNotice(this, Changed);
    closeScreen();
}

void ChangePasswordDialog::cmdEsciClick()
{
    closeScreen();
}

void ChangePasswordDialog::closeScreen()
{
    // The password screen is brought back before this one goes, so that a window is always shown.
    Q_EMIT closed();
    hide();
}

void ChangePasswordDialog::refuseNewPassword(const QString& message)
{
    platform::plainNotice(this, message);
    txtPasswordNew->clear();
    txtConferma->clear();
    txtPasswordNew->setFocus();
}

} // namespace brivanto
