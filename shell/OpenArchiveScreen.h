#pragma once

#include <QWidget>

class QLabel;
class QListWidget;

namespace brivanto {

// Lists the archives of the program folder; opens the selected one in the record editor (with
// "Apri archivio", Enter on the list or a double-click) or deletes it after a confirmation.
class OpenArchiveScreen : public QWidget
{
    Q_OBJECT
public:
    explicit OpenArchiveScreen(QWidget* parent = nullptr);

    void ListArchives();

Q_SIGNALS:
    // The screen closed with the return screen "avvio".
    void closedToLauncher();
    // The screen closed with "cartoline": the archive's full path and name for the editor.
    void archiveChosen(const QString& file, const QString& name);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void btnApriClick();
    void btnEliminaClick();
    void btnAnnullaClick();
    void imgGuidaClick();

    QListWidget* lstFiles_;
    QLabel* lblCreati_;
    QLabel* callerTag_;
    QLabel* lblFile_;
};

} // namespace brivanto
