#include "help/LinkLabel.h"

#include "platform/PictureBox.h"

#include <QMouseEvent>

namespace brivanto {
namespace {
constexpr QRgb LinkColour = 0x00008B;        // dark blue
constexpr QRgb PressedLinkColour = 0xFFA500; // orange
} // namespace

LinkLabel::LinkLabel(const QString& objectName, const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setObjectName(objectName);
    setTextFormat(Qt::PlainText);
    QFont linkFont(QStringLiteral("Tahoma"), 14);
    linkFont.setUnderline(true);
    setFont(linkFont);
    setCursor(Qt::PointingHandCursor);
    setTextColour(LinkColour);
    adjustSize();
}

void LinkLabel::addIcon(platform::PictureButton* icon)
{
    // The icon is the link's way in from the keyboard: it says what the link says.
    icon->setAccessibleName(text());
    connect(icon, &platform::PictureButton::pressed, this, &LinkLabel::showPressed);
    connect(icon, &platform::PictureButton::released, this, &LinkLabel::showReleased);
    connect(icon, &platform::PictureButton::clicked, this, &LinkLabel::clicked);
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    down_ = true;
    showPressed();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !down_)
        return;
    down_ = false;
    showReleased();
    if (rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void LinkLabel::showPressed()
{
    setTextColour(PressedLinkColour);
}

void LinkLabel::showReleased()
{
    setTextColour(LinkColour);
}

void LinkLabel::setTextColour(QRgb colour)
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, QColor::fromRgb(colour));
    setPalette(colours);
}

} // namespace brivanto
