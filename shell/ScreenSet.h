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

// The resident screens and the flow between them: one main screen in front at a time, the target
// shown before the source is hidden. A resident screen is created when it is first needed and
// then lives as long as the set, so the password screen appears without waiting for the others.
// On-demand screens are created by the screen that opens them.
class ScreenSet : public QObject
{
    Q_OBJECT
public:
    ScreenSet();
    ~ScreenSet() override;

    // Shows the first screen, the password screen, as the main window.
    void start();

    // Each resident screen, created on first use.
    TfrmPassword* password();
    TfrmApriCatalogo* apriCatalogo();
    TfrmAvvio* avvio();
    TfrmCambiaPassword* cambiaPassword();
    TfrmCartoline* cartoline();
    TfrmCreaCatalogo* creaCatalogo();

Q_SIGNALS:
    // The program ends: from the launcher's exit or window, or the password screen's "Esci".
    void endRequested();

private:
    void connectFlow(TfrmPassword* screen);
    void connectFlow(TfrmApriCatalogo* screen);
    void connectFlow(TfrmAvvio* screen);
    void connectFlow(TfrmCambiaPassword* screen);
    void connectFlow(TfrmCartoline* screen);
    void connectFlow(TfrmCreaCatalogo* screen);
    template <class Screen> Screen* resident(Screen*& screen);

    TfrmPassword* password_ = nullptr;
    TfrmApriCatalogo* apriCatalogo_ = nullptr;
    TfrmAvvio* avvio_ = nullptr;
    TfrmCambiaPassword* cambiaPassword_ = nullptr;
    TfrmCartoline* cartoline_ = nullptr;
    TfrmCreaCatalogo* creaCatalogo_ = nullptr;
};

// Shows `to` (maximised for the main work screens) and then hides `from`.
void switchScreen(QWidget* from, QWidget* to);

} // namespace brivanto
