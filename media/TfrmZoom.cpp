#include "media/TfrmZoom.h"

#include "platform/PhotoView.h"

namespace brivanto {

TfrmZoom::TfrmZoom(QWidget* owner)
    : PhotoWindow(owner, QStringLiteral("TfrmZoom"),
                  QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"))
{}

void TfrmZoom::setPhoto(const QImage& photo)
{
    imgFoto()->setImage(photo.copy());
}

void showZoom(QWidget* owner, const QImage& photo)
{
    auto* zoom = new TfrmZoom(owner);
    zoom->setPhoto(photo);
    runMaximised(owner, zoom);
}

} // namespace brivanto
