#include "platform/PhotoView.h"

#include <QMouseEvent>
#include <QPainter>

namespace brivanto::platform {

QImage fittedImage(const QImage& image, QSize box)
{
    if (image.isNull() || (image.width() <= box.width() && image.height() <= box.height()))
        return image;
    const QSize target = image.size().scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    // A quick reduction to twice the target first: the smooth pass then reads a few hundred
    // thousand pixels instead of every pixel of the photo, with no visible difference.
    QImage source = image;
    if (source.width() > 4 * target.width() && source.height() > 4 * target.height())
        source = source.scaled(target * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return source.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

PhotoView::PhotoView(const QString& objectName, QWidget* parent) : QWidget(parent)
{
    setObjectName(objectName);
}

void PhotoView::setImage(const QImage& image)
{
    image_ = image;
    shown_ = QPixmap();
    update();
}

QRect PhotoView::pictureRect() const
{
    QSize size = image_.size();
    if (size.width() > width() || size.height() > height())
        size.scale(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void PhotoView::paintEvent(QPaintEvent*)
{
    if (image_.isNull())
        return;
    const QRect target = pictureRect();
    if (shown_.isNull() || shown_.size() != target.size())
        shown_ = QPixmap::fromImage(fittedImage(image_, target.size()));
    QPainter painter(this);
    painter.drawPixmap(target.topLeft(), shown_);
}

void PhotoView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

} // namespace brivanto::platform
