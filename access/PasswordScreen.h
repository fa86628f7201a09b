#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace brivanto {

class FocusHighlight;

// The access password screen: the program's main window and the first screen of every run.
// Only the right password leads on; where it leads is the screen set's business.
class PasswordScreen : public QWidget
{
    Q_OBJECT
public:
    explicit PasswordScreen(QWidget* parent = nullptr);

    // Empties txtPassword, shows the screen centred and puts the focus in txtPassword: at the
    // start of the run and when the change-password screen closes.
    void showEmptied();

Q_SIGNALS:
    void accepted();
    void changePasswordRequested();
    void endRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void txtPasswordChange();
    void txtPasswordKeyUp();
    void txtPasswordKeyPress();
    void cmdOKClick();
    void cmdEsciClick();
    void btnCambiaPasswordClick();

    QLineEdit* txtPassword;
    FocusHighlight* effPassword;
    QPushButton* cmdOK;
};

} // namespace brivanto
