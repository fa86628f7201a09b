#pragma once

#include <QDialog>

namespace brivanto {

namespace platform {
class PhotoView;
}

// A maximised window showing one picture in `imgFoto`, on the panel `panContainer` centred in it
// and as large as the screen less 60 × 90 pixels. A click on the picture or on the panel closes
// the window, as does the title bar's close button. The zoom window and the slideshow are such
// windows.
class PhotoWindow : public QDialog
{
    Q_OBJECT
protected:
    PhotoWindow(QWidget* owner, const QString& className, const QString& caption);

    platform::PhotoView* imgFoto() const { return imgFoto_; }
    // The program's own showing, after the panel has taken its size from the screen; restoring a
    // minimised window is not one.
    virtual void started() {}

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* panContainer_;
    platform::PhotoView* imgFoto_;
};

// Shows a fresh photo window maximised over `owner`, modally, and discards it.
void runMaximised(QWidget* owner, PhotoWindow* window);

} // namespace brivanto
