#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace brivanto {

class FocusHighlight;

// The change-password screen, reached from the password screen before the user is admitted:
// knowing the current password is what allows the change.
class ChangePasswordDialog : public QWidget
{
    Q_OBJECT
public:
    explicit ChangePasswordDialog(QWidget* parent = nullptr);

Q_SIGNALS:
    // The screen closes, by "Chiudi" or after a successful change; the password screen comes back.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void txtPasswordChange();
    void txtPasswordOldKeyPress();
    void txtPasswordNewKeyPress();
    void txtConfermaKeyPress();
    void cmdOKClick();
    void cmdEsciClick();
    void closeScreen();
    void refuseNewPassword(const QString& message);

    QLineEdit* txtPasswordOld;
    QLineEdit* txtPasswordNew;
    QLineEdit* txtConferma;
    FocusHighlight* effPasswordOld;
    FocusHighlight* effPasswordNew;
    FocusHighlight* effConferma;
    QPushButton* cmdOK;
};

} // namespace brivanto
