#include "shell/HintLine.h"

#include <QAbstractButton>
#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

namespace brivanto {

HintLine::HintLine(QObject* parent, QLabel* line) : QObject(parent), line_(line) {}

void HintLine::watch(QWidget* control, const QString& hint)
{
    hints_.insert(control, hint);
    // A button without a caption or a name of its own is a picture: its hint is what it is
    // called. A named one keeps its name, and the hint describes it.
    if (auto* button = qobject_cast<QAbstractButton*>(control); button && !hint.isEmpty()) {
        if (button->text().isEmpty() && button->accessibleName().isEmpty())
            button->setAccessibleName(hint);
        else if (button->accessibleDescription().isEmpty())
            button->setAccessibleDescription(hint);
    }
    control->setMouseTracking(true);
    control->installEventFilter(this);
}

// The hint of the innermost watched control at `position` of `watched`. A move that a button
// passes on to its panel thus still shows the button's hint.
void HintLine::showHintAt(QWidget* watched, QPointF position)
{
    for (const QWidget* widget = watched->childAt(position.toPoint()); widget && widget != watched;
         widget = widget->parentWidget()) {
        if (const auto hint = hints_.constFind(widget); hint != hints_.constEnd()) {
            line_->setText(*hint);
            return;
        }
    }
    line_->setText(hints_.value(watched));
}

bool HintLine::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter) {
        showHintAt(static_cast<QWidget*>(watched), static_cast<QEnterEvent*>(event)->position());
    } else if (event->type() == QEvent::MouseMove) {
        showHintAt(static_cast<QWidget*>(watched), static_cast<QMouseEvent*>(event)->position());
    } else if (event->type() == QEvent::Leave) {
        for (const QObject* around = watched->parent(); around; around = around->parent()) {
            if (const auto hint = hints_.constFind(around); hint != hints_.constEnd()) {
                line_->setText(*hint);
                break;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace brivanto
