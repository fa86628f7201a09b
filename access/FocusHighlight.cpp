#include "access/FocusHighlight.h"

#include <QEvent>
#include <QPainter>

namespace brivanto {
namespace {
constexpr int Border = 6;
const QColor Yellow(0xFF, 0xFF, 0x00);
const QColor White(0xFF, 0xFF, 0xFF);
} // namespace

FocusHighlight::FocusHighlight(const QString& objectName, QWidget* field, QWidget* parent)
    : QWidget(parent), field_(field)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(field->geometry().adjusted(-Border, -Border, Border, Border));
    stackUnder(field);
    hide();
    field->installEventFilter(this);
}

void FocusHighlight::follow()
{
    setVisible(field_->window()->focusWidget() == field_);
}

bool FocusHighlight::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == field_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        follow();
    return QWidget::eventFilter(watched, event);
}

void FocusHighlight::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Rings from the outside in, white to yellow, then the yellow fill under the field.
    for (int ring = 0; ring < Border; ++ring) {
        const qreal t = static_cast<qreal>(ring) / (Border - 1);
        const QColor colour = QColor::fromRgbF(White.redF() + (Yellow.redF() - White.redF()) * t,
                                               White.greenF() + (Yellow.greenF() - White.greenF()) * t,
                                               White.blueF() + (Yellow.blueF() - White.blueF()) * t);
        painter.setPen(colour);
        painter.drawRect(rect().adjusted(ring, ring, -ring - 1, -ring - 1));
    }
    painter.fillRect(rect().adjusted(Border, Border, -Border, -Border), Yellow);
}

} // namespace brivanto
