#include "help/WindowParts.h"

#include "platform/PictureBox.h"

#include <QDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>

namespace brivanto {
namespace {

// These windows close by their "Chiudi" button only, like their missing window buttons say:
// the Escape key that dialogs usually honour is swallowed.
class EscapeBlocker : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override
    {
        return event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    }
};

} // namespace

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
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, window, &QDialog::close);
    window->installEventFilter(new EscapeBlocker(window));
    return button;
}

} // namespace brivanto
