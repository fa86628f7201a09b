#include "help/WindowParts.h"

#include "platform/PictureBox.h"
#include "platform/ScreenKeys.h"

#include <QDialog>
#include <QFrame>
#include <QPushButton>

namespace brivanto {

platform::PictureBox* addFramedLogo(QWidget* window, const QString& resource, int x, int y, int border)
{
    auto* frame = new QFrame(window);
    frame->setObjectName(QStringLiteral("panLogo"));
    frame->setFrameShape(QFrame::Box);
    frame->setAutoFillBackground(true);
    QPalette white = frame->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, QColor(0xC0, 0xC0, 0xC0));
    frame->setPalette(white);

    auto* logo = new platform::PictureBox(QStringLiteral("imgLogo"), resource, frame);
    frame->setGeometry(x, y, logo->width() + 2 * border, logo->height() + 2 * border);
    logo->move(border, border);
    return logo;
}

QPushButton* addCloseButton(QDialog* window)
{
    auto* button = new QPushButton(QStringLiteral("Chiudi"), window);
    button->setObjectName(QStringLiteral("btnChiudi"));
    QObject::connect(button, &QPushButton::clicked, window, &QDialog::close);
    platform::applyScreenKeys(window, {.escape = [window] { window->close(); }});
    return button;
}

} // namespace brivanto
