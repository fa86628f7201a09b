#include "shell/ScreenSet.h"

#include "access/TfrmCambiaPassword.h"
#include "access/TfrmPassword.h"
#include "editor/TfrmCartoline.h"
#include "shell/TfrmApriCatalogo.h"
#include "shell/TfrmAvvio.h"
#include "shell/TfrmCreaCatalogo.h"

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

TfrmPassword* ScreenSet::password()
{
    return resident(password_);
}
TfrmApriCatalogo* ScreenSet::apriCatalogo()
{
    return resident(apriCatalogo_);
}
TfrmAvvio* ScreenSet::avvio()
{
    return resident(avvio_);
}
TfrmCambiaPassword* ScreenSet::cambiaPassword()
{
    return resident(cambiaPassword_);
}
TfrmCartoline* ScreenSet::cartoline()
{
    return resident(cartoline_);
}
TfrmCreaCatalogo* ScreenSet::creaCatalogo()
{
    return resident(creaCatalogo_);
}

void ScreenSet::start()
{
    password()->showEmptied();
}

void switchScreen(QWidget* from, QWidget* to)
{
    const bool maximised = qobject_cast<TfrmAvvio*>(to) || qobject_cast<TfrmApriCatalogo*>(to) ||
                           qobject_cast<TfrmCreaCatalogo*>(to) || qobject_cast<TfrmCartoline*>(to);
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

void ScreenSet::connectFlow(TfrmPassword* screen)
{
    connect(screen, &TfrmPassword::accepted, this, [this] { switchScreen(password(), avvio()); });
    connect(screen, &TfrmPassword::changePasswordRequested, this,
            [this] { switchScreen(password(), cambiaPassword()); });
    connect(screen, &TfrmPassword::endRequested, this, &ScreenSet::endRequested);
}

void ScreenSet::connectFlow(TfrmCambiaPassword* screen)
{
    connect(screen, &TfrmCambiaPassword::closed, this, [this] {
        password()->showEmptied();
        cambiaPassword()->hide();
    });
}

void ScreenSet::connectFlow(TfrmAvvio* screen)
{
    connect(screen, &TfrmAvvio::createArchiveRequested, this,
            [this] { switchScreen(avvio(), creaCatalogo()); });
    connect(screen, &TfrmAvvio::openArchiveRequested, this,
            [this] { switchScreen(avvio(), apriCatalogo()); });
    connect(screen, &TfrmAvvio::endRequested, this, &ScreenSet::endRequested);
}

void ScreenSet::connectFlow(TfrmCreaCatalogo* screen)
{
    connect(screen, &TfrmCreaCatalogo::closed, this, [this] { switchScreen(creaCatalogo(), avvio()); });
}

void ScreenSet::connectFlow(TfrmApriCatalogo* screen)
{
    connect(screen, &TfrmApriCatalogo::closedToLauncher, this,
            [this] { switchScreen(apriCatalogo(), avvio()); });
    connect(screen, &TfrmApriCatalogo::archiveChosen, this, [this](const QString& file, const QString& name) {
        cartoline()->setArchive(file, name);
        switchScreen(apriCatalogo(), cartoline());
    });
}

void ScreenSet::connectFlow(TfrmCartoline* screen)
{
    connect(screen, &TfrmCartoline::closed, this, [this] { switchScreen(cartoline(), avvio()); });
}

} // namespace brivanto
