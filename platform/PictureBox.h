#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QWidget>

#include <memory>

class QPainter;

namespace brivanto::platform {

// A picture of the resources whose size is known at once and which is rendered when it is first
// needed (painted or asked for), so that a screen with many pictures is quick to create and a
// picture that is never seen is never rendered.
class ResourcePicture
{
public:
    ResourcePicture();
    explicit ResourcePicture(const QString& resource);
    ResourcePicture(ResourcePicture&&) noexcept;
    ResourcePicture& operator=(ResourcePicture&&) noexcept;
    ~ResourcePicture();
    ResourcePicture& operator=(const QPixmap& picture);

    const QPixmap& pixmap() const;
    QSize size() const { return size_; }
    bool isNull() const { return size_.isEmpty(); }

private:
    mutable QString resource_;  // still to be read or drawn, when not empty
    mutable QByteArray pixels_; // drawn at build time (size, pixels), still to be shown
    mutable QPixmap pixmap_;
    QSize size_;
};

// Draws `picture` centred in `box`, scaled down with its proportions when it is larger.
void drawCentred(QPainter& painter, const QRect& box, const QPixmap& picture);

// What the picture controls share: a picture of the resources (or one set later) that gives the
// control its size and is drawn centred in it.
template <class Control> class PictureControl : public Control
{
public:
    void setPicture(const QPixmap& picture)
    {
        picture_ = picture;
        this->update();
    }
    const QPixmap& picture() const { return picture_.pixmap(); }
    QSize sizeHint() const override { return picture_.isNull() ? QSize(16, 16) : picture_.size(); }

protected:
    explicit PictureControl(QWidget* parent) : Control(parent) {}
    // The control named `objectName` shows `resource`, at the picture's size.
    void showResource(const QString& objectName, const QString& resource)
    {
        this->setObjectName(objectName);
        picture_ = ResourcePicture(resource);
        this->setFixedSize(picture_.size());
    }
    void drawPicture(QPainter& painter) const
    {
        if (!picture_.isNull())
            drawCentred(painter, this->rect(), picture_.pixmap());
    }

private:
    ResourcePicture picture_;
};

// An image control: the picture keeps its own resolution and is drawn centred, scaled down
// with its proportions only when it is larger than the box. Assistive technology does not see a
// picture that only decorates; one given an accessible name (it shows words the user needs) is
// a named graphic.
class PictureBox : public PictureControl<QWidget>
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    PictureBox(const QString& objectName, const QString& resource, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A picture the user presses: a real button, so the keyboard and assistive technology reach it
// like any other. It takes the focus with Tab (a mouse click leaves the focus where it was, as on
// a toolbar), Space, Enter and Return press it, it says "push button" and its accessible name to
// a screen reader. The mouse user sees the hand cursor, a lighter look under the mouse and a
// pressed look while it is held; the focus mark is drawn only while the focus came from the
// keyboard. `clicked` fires on release inside the picture.
class PictureButton : public PictureControl<QAbstractButton>
{
    Q_OBJECT
public:
    PictureButton(const QString& objectName, const QString& resource, QWidget* parent);

    // True while the focus mark is drawn.
    bool showsFocusMark() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool keyboardFocus_ = false;
};

// Puts the picture buttons of `screen` at the end of its Tab chain, in reading order (rows from
// top to bottom, each row left to right), after whatever order the screen's other controls have.
// Call it once the screen's controls stand in their places.
void placePictureButtonsLast(QWidget* screen);

// Renders a picture of the resources (SVG or bitmap) at its natural size.
QPixmap resourcePicture(const QString& resource, QSize size = {});

} // namespace brivanto::platform
