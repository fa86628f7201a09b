#include "media/ZoomWindow.h"

#include "platform/PhotoView.h"

namespace brivanto {

ZoomWindow::ZoomWindow(QWidget* owner)
    : PhotoWindow(owner, QStringLiteral("TfrmZoom"),
                  QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"))
{}

void ZoomWindow::setPhoto(const QImage& photo)
{
    imgFoto()->setImage(photo.copy());
}

void showZoom(QWidget* owner, const QImage& photo)
{
    auto* zoom = new ZoomWindow(owner);
    zoom->setPhoto(photo);
    runMaximised(owner, zoom);
}

} // namespace brivanto
