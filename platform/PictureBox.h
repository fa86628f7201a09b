#pragma once

#include <QPixmap>
#include <QWidget>

namespace brivanto::platform {

// An image control: the picture keeps its own resolution and is drawn centred, scaled down
// with its proportions only when it is larger than the box.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    PictureBox(const QString& objectName, const QString& resource, QWidget* parent);

    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

// A picture the user clicks: hand cursor, a lighter look under the mouse and a pressed look
// while the button is held. `clicked` fires on release inside the picture.
class PictureButton : public PictureBox
{
    Q_OBJECT
public:
    PictureButton(const QString& objectName, const QString& resource, QWidget* parent);

Q_SIGNALS:
    void clicked();
    void pressed();
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool hovered_ = false;
    bool down_ = false;
};

// Renders a picture of the resources (SVG or bitmap) at its natural size.
QPixmap resourcePicture(const QString& resource, QSize size = {});

} // namespace brivanto::platform
