#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QWidget>

namespace brivanto::platform {

// An image control: the picture keeps its own resolution and is drawn centred, scaled down
// with its proportions only when it is larger than the box. Assistive technology does not see a
// picture that only decorates; one given an accessible name (it shows words the user needs) is
// a named graphic.
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

// A picture the user presses: a real button, so the keyboard and assistive technology reach it
// like any other. It takes the focus with Tab (a mouse click leaves the focus where it was, as on
// a toolbar), Space, Enter and Return press it, it says "push button" and its accessible name to
// a screen reader. The mouse user sees the hand cursor, a lighter look under the mouse and a
// pressed look while it is held; the focus mark is drawn only while the focus came from the
// keyboard. `clicked` fires on release inside the picture.
class PictureButton : public QAbstractButton
{
    Q_OBJECT
public:
    PictureButton(const QString& objectName, const QString& resource, QWidget* parent);

    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }
    QSize sizeHint() const override;
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
    QPixmap picture_;
    bool keyboardFocus_ = false;
};

// Puts the picture buttons of `screen` at the end of its Tab chain, in reading order (rows from
// top to bottom, each row left to right), after whatever order the screen's other controls have.
// Call it once the screen's controls stand in their places.
void placePictureButtonsLast(QWidget* screen);

// Renders a picture of the resources (SVG or bitmap) at its natural size.
QPixmap resourcePicture(const QString& resource, QSize size = {});

} // namespace brivanto::platform
