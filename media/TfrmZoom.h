#pragma once

#include <QDialog>
#include <QImage>

namespace brivanto {

namespace platform {
class PhotoView;
}

// One photo at its own size, or scaled down just enough to fit the screen. A click on the photo
// or on its panel closes the window; the window holds its own copy of the photo.
class TfrmZoom : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmZoom(QWidget* owner);

    void setPhoto(const QImage& photo);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* panContainer_;
    platform::PhotoView* imgFoto_;
};

// Opens a fresh zoom window owned by `owner` on a copy of `photo`, modally, and discards it.
void showZoom(QWidget* owner, const QImage& photo);

} // namespace brivanto
