#pragma once

#include <QObject>

class QWidget;

namespace brivanto {

class TfrmPassword;
class TfrmCambiaPassword;
class TfrmAvvio;
class TfrmApriCatalogo;
class TfrmCartoline;
class TfrmCreaCatalogo;

// The resident screens, created once in the program's fixed order, and the flow between them:
// one main screen in front at a time, the target shown before the source is hidden. On-demand
// screens are created by the screen that opens them.
class ScreenSet : public QObject
{
    Q_OBJECT
public:
    ScreenSet();
    ~ScreenSet() override;

    // Shows the first screen, the password screen, as the main window.
    void start();

    TfrmPassword* password() const { return password_; }
    TfrmApriCatalogo* apriCatalogo() const { return apriCatalogo_; }
    TfrmAvvio* avvio() const { return avvio_; }
    TfrmCambiaPassword* cambiaPassword() const { return cambiaPassword_; }
    TfrmCartoline* cartoline() const { return cartoline_; }
    TfrmCreaCatalogo* creaCatalogo() const { return creaCatalogo_; }

Q_SIGNALS:
    // The program ends: from the launcher's exit or window, or the password screen's "Esci".
    void endRequested();

private:
    void connectFlow();

    TfrmPassword* password_;
    TfrmApriCatalogo* apriCatalogo_;
    TfrmAvvio* avvio_;
    TfrmCambiaPassword* cambiaPassword_;
    TfrmCartoline* cartoline_;
    TfrmCreaCatalogo* creaCatalogo_;
};

// Shows `to` (maximised for the main work screens) and then hides `from`.
void switchScreen(QWidget* from, QWidget* to);

} // namespace brivanto
