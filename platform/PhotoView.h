#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace brivanto::platform {

// An image control for photos: it holds the picture at full resolution and draws it centred,
// scaled down with its proportions only when it is larger than the control. The scaled copy is
// made once per picture and size, so a 12-megapixel photo costs one reduction, not one per paint.
class PhotoView : public QWidget
{
    Q_OBJECT
public:
    explicit PhotoView(const QString& objectName, QWidget* parent = nullptr);

    void setImage(const QImage& image);
    const QImage& image() const { return image_; }
    // Where the picture is drawn inside the control.
    QRect pictureRect() const;

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image_;
    QPixmap shown_;
};

// The picture reduced to fit `box`, keeping its proportions; unchanged when it already fits.
QImage fittedImage(const QImage& image, QSize box);

} // namespace brivanto::platform
