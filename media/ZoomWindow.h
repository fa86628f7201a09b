#pragma once

#include "media/PhotoWindow.h"

#include <QImage>

namespace brivanto {

// One photo at its own size, or scaled down just enough to fit the screen. A click on the photo
// or on its panel closes the window; the window holds its own copy of the photo.
class ZoomWindow : public PhotoWindow
{
    Q_OBJECT
public:
    explicit ZoomWindow(QWidget* owner);

    void setPhoto(const QImage& photo);
};

// Opens a fresh zoom window owned by `owner` on a copy of `photo`, modally, and discards it.
void showZoom(QWidget* owner, const QImage& photo);

} // namespace brivanto
