#include "shell/ScreenSet.h"

#include "access/TfrmCambiaPassword.h"
#include "access/TfrmPassword.h"
#include "editor/TfrmCartoline.h"
#include "shell/TfrmApriCatalogo.h"
#include "shell/TfrmAvvio.h"
#include "shell/TfrmCreaCatalogo.h"

#include <QScreen>

namespace brivanto {

ScreenSet::ScreenSet()
    // The order of creation is the program's: the first screen is the main window.
    : password_(new TfrmPassword), apriCatalogo_(new TfrmApriCatalogo), avvio_(new TfrmAvvio),
      cambiaPassword_(new TfrmCambiaPassword), cartoline_(new TfrmCartoline),
      creaCatalogo_(new TfrmCreaCatalogo)
{
    connectFlow();
}

ScreenSet::~ScreenSet()
{
    delete creaCatalogo_;
    delete cartoline_;
    delete cambiaPassword_;
    delete avvio_;
    delete apriCatalogo_;
    delete password_;
}

void ScreenSet::start()
{
    password_->showEmptied();
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

void ScreenSet::connectFlow()
{
    connect(password_, &TfrmPassword::accepted, this, [this] { switchScreen(password_, avvio_); });
    connect(password_, &TfrmPassword::changePasswordRequested, this,
            [this] { switchScreen(password_, cambiaPassword_); });
    connect(password_, &TfrmPassword::endRequested, this, &ScreenSet::endRequested);
    connect(cambiaPassword_, &TfrmCambiaPassword::closed, this, [this] {
        password_->showEmptied();
        cambiaPassword_->hide();
    });

    connect(avvio_, &TfrmAvvio::createArchiveRequested, this,
            [this] { switchScreen(avvio_, creaCatalogo_); });
    connect(avvio_, &TfrmAvvio::openArchiveRequested, this, [this] { switchScreen(avvio_, apriCatalogo_); });
    connect(avvio_, &TfrmAvvio::endRequested, this, &ScreenSet::endRequested);

    connect(creaCatalogo_, &TfrmCreaCatalogo::closed, this, [this] { switchScreen(creaCatalogo_, avvio_); });
    connect(apriCatalogo_, &TfrmApriCatalogo::closedToLauncher, this,
            [this] { switchScreen(apriCatalogo_, avvio_); });
    connect(apriCatalogo_, &TfrmApriCatalogo::archiveChosen, this,
            [this](const QString& file, const QString& name) {
                cartoline_->setArchive(file, name);
                switchScreen(apriCatalogo_, cartoline_);
            });
    connect(cartoline_, &TfrmCartoline::closed, this, [this] { switchScreen(cartoline_, avvio_); });
}

} // namespace brivanto
