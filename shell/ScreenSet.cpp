#include "shell/ScreenSet.h"

#include "access/ChangePasswordDialog.h"
#include "access/PasswordScreen.h"
#include "editor/RecordEditor.h"
#include "shell/CreateArchiveScreen.h"
#include "shell/Launcher.h"
#include "shell/OpenArchiveScreen.h"

#include <QScreen>

namespace brivanto {

ScreenSet::ScreenSet() = default;

ScreenSet::~ScreenSet()
{
    delete creaCatalogo_;
    delete cartoline_;
    delete cambiaPassword_;
    delete avvio_;
    delete apriCatalogo_;
    delete password_;
}

template <class Screen> Screen* ScreenSet::resident(Screen*& screen)
{
    if (!screen) {
        screen = new Screen;
        connectFlow(screen);
    }
    return screen;
}

PasswordScreen* ScreenSet::password()
{
    return resident(password_);
}
OpenArchiveScreen* ScreenSet::apriCatalogo()
{
    return resident(apriCatalogo_);
}
Launcher* ScreenSet::avvio()
{
    return resident(avvio_);
}
ChangePasswordDialog* ScreenSet::cambiaPassword()
{
    return resident(cambiaPassword_);
}
RecordEditor* ScreenSet::cartoline()
{
    return resident(cartoline_);
}
CreateArchiveScreen* ScreenSet::creaCatalogo()
{
    return resident(creaCatalogo_);
}

void ScreenSet::start()
{
    password()->showEmptied();
}

void switchScreen(QWidget* from, QWidget* to)
{
    const bool maximised = qobject_cast<Launcher*>(to) || qobject_cast<OpenArchiveScreen*>(to) ||
                           qobject_cast<CreateArchiveScreen*>(to) || qobject_cast<RecordEditor*>(to);
    if (maximised) {
        // Without a window manager nothing would maximise the window: give it the screen first.
        if (const QScreen* screen = to->screen())
            to->setGeometry(screen->availableGeometry());
        to->showMaximized();
    } else
        to->show();
    to->raise();
    to->activateWindow();
    if (from != to)
        from->hide();
}

void ScreenSet::connectFlow(PasswordScreen* screen)
{
    connect(screen, &PasswordScreen::accepted, this, [this] { switchScreen(password(), avvio()); });
    connect(screen, &PasswordScreen::changePasswordRequested, this,
            [this] { switchScreen(password(), cambiaPassword()); });
    connect(screen, &PasswordScreen::endRequested, this, &ScreenSet::endRequested);
}

void ScreenSet::connectFlow(ChangePasswordDialog* screen)
{
    connect(screen, &ChangePasswordDialog::closed, this, [this] {
        password()->showEmptied();
        cambiaPassword()->hide();
    });
}

void ScreenSet::connectFlow(Launcher* screen)
{
    connect(screen, &Launcher::createArchiveRequested, this,
            [this] { switchScreen(avvio(), creaCatalogo()); });
    connect(screen, &Launcher::openArchiveRequested, this, [this] { switchScreen(avvio(), apriCatalogo()); });
    connect(screen, &Launcher::endRequested, this, &ScreenSet::endRequested);
}

void ScreenSet::connectFlow(CreateArchiveScreen* screen)
{
    connect(screen, &CreateArchiveScreen::closed, this, [this] { switchScreen(creaCatalogo(), avvio()); });
}

void ScreenSet::connectFlow(OpenArchiveScreen* screen)
{
    connect(screen, &OpenArchiveScreen::closedToLauncher, this,
            [this] { switchScreen(apriCatalogo(), avvio()); });
    connect(screen, &OpenArchiveScreen::archiveChosen, this,
            [this](const QString& file, const QString& name) {
                cartoline()->setArchive(file, name);
                switchScreen(apriCatalogo(), cartoline());
            });
}

void ScreenSet::connectFlow(RecordEditor* screen)
{
    connect(screen, &RecordEditor::closed, this, [this] { switchScreen(cartoline(), avvio()); });
}

} // namespace brivanto
