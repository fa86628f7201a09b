#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace brivanto {

// Creates a new, empty archive under the name the user types. Always returns to the launcher.
class CreateArchiveScreen : public QWidget
{
    Q_OBJECT
public:
    explicit CreateArchiveScreen(QWidget* parent = nullptr);

    // Characters that typing cannot put into the name, by a key press or an input method
    // (pasting still can).
    static bool isRefusedCharacter(QChar c);

Q_SIGNALS:
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void btnApplicaClick();
    void btnAnnullaClick();
    void imgGuidaClick();
    void setNameFieldColour(bool focused);

    QLineEdit* txtFile_;
    QLabel* lblFile_;
};

} // namespace brivanto
