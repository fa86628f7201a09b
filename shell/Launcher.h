#pragma once

#include <QWidget>

namespace brivanto {

namespace platform {
class PictureButton;
}

// The launcher: the two work areas (create, open), help, information, credits, the web banner
// and the exit. Closing it ends the program.
class Launcher : public QWidget
{
    Q_OBJECT
public:
    explicit Launcher(QWidget* parent = nullptr);

Q_SIGNALS:
    void createArchiveRequested();
    void openArchiveRequested();
    void endRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void imgInfoClick();
    void imgGuidaClick();
    void imgSitoClick();
    void imgCopyrightClick();
    void imgEsciClick();
};

} // namespace brivanto
