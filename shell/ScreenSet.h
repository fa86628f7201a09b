#pragma once

#include <QObject>

class QWidget;

namespace brivanto {

class PasswordScreen;
class ChangePasswordDialog;
class Launcher;
class OpenArchiveScreen;
class RecordEditor;
class CreateArchiveScreen;

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
    PasswordScreen* password();
    OpenArchiveScreen* apriCatalogo();
    Launcher* avvio();
    ChangePasswordDialog* cambiaPassword();
    RecordEditor* cartoline();
    CreateArchiveScreen* creaCatalogo();

Q_SIGNALS:
    // The program ends: from the launcher's exit or window, or the password screen's "Esci".
    void endRequested();

private:
    void connectFlow(PasswordScreen* screen);
    void connectFlow(OpenArchiveScreen* screen);
    void connectFlow(Launcher* screen);
    void connectFlow(ChangePasswordDialog* screen);
    void connectFlow(RecordEditor* screen);
    void connectFlow(CreateArchiveScreen* screen);
    template <class Screen> Screen* resident(Screen*& screen);

    PasswordScreen* password_ = nullptr;
    OpenArchiveScreen* apriCatalogo_ = nullptr;
    Launcher* avvio_ = nullptr;
    ChangePasswordDialog* cambiaPassword_ = nullptr;
    RecordEditor* cartoline_ = nullptr;
    CreateArchiveScreen* creaCatalogo_ = nullptr;
};

// Shows `to` (maximised for the main work screens) and then hides `from`.
void switchScreen(QWidget* from, QWidget* to);

} // namespace brivanto
