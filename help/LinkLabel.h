#pragma once

#include <QLabel>

namespace brivanto {

namespace platform {
class PictureButton;
}

// The underlined link of the help, information and splash windows: dark blue, orange while the
// mouse button is held on it, `clicked` when the button is released over it. The icon beside a
// link behaves exactly like the link.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    LinkLabel(const QString& objectName, const QString& text, QWidget* parent);

    void addIcon(platform::PictureButton* icon);

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void showPressed();
    void showReleased();
    void setTextColour(QRgb colour);

    bool down_ = false;
};

} // namespace brivanto
