#include "platform/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace brivanto::platform {

QPixmap resourcePicture(const QString& resource, QSize size)
{
    if (!resource.endsWith(QLatin1String(".svg")))
        return QPixmap(resource);
    QSvgRenderer renderer(resource);
    if (!size.isValid())
        size = renderer.defaultSize();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return QPixmap::fromImage(image);
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

PictureBox::PictureBox(const QString& objectName, const QString& resource, QWidget* parent) : QWidget(parent)
{
    setObjectName(objectName);
    setPicture(resourcePicture(resource));
    setFixedSize(picture_.size());
}

void PictureBox::setPicture(const QPixmap& picture)
{
    picture_ = picture;
    update();
}

QSize PictureBox::sizeHint() const
{
    return picture_.isNull() ? QSize(16, 16) : picture_.size();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    if (picture_.isNull())
        return;
    QSize size = picture_.size();
    if (size.width() > width() || size.height() > height())
        size.scale(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, picture_);
}

PictureButton::PictureButton(const QString& objectName, const QString& resource, QWidget* parent)
    : PictureBox(objectName, resource, parent)
{
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

void PictureButton::paintEvent(QPaintEvent* event)
{
    PictureBox::paintEvent(event);
    if (!hovered_ && !down_)
        return;
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(rect(), down_ ? QColor(0, 0, 0, 40) : QColor(255, 255, 255, 50));
}

void PictureButton::enterEvent(QEnterEvent*)
{
    hovered_ = true;
    update();
}

void PictureButton::leaveEvent(QEvent*)
{
    hovered_ = false;
    update();
}

void PictureButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    down_ = true;
    update();
    Q_EMIT pressed();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !down_)
        return;
    down_ = false;
    update();
    Q_EMIT released();
    if (rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

} // namespace brivanto::platform
