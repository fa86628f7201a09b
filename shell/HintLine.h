#pragma once

#include <QHash>
#include <QObject>
#include <QPointF>

class QLabel;
class QWidget;

namespace brivanto {

// A screen's status line that tells what the control under the mouse does. Each watched control
// has a hint (an empty one for backgrounds and panels). Entering or moving over a control shows
// its hint; leaving it shows the hint of the watched control around it, where the mouse is back,
// unless the mouse enters another control, whose own hint then follows. A watched button without
// a caption or a name takes its hint as its accessible name; a named one as its description.
class HintLine : public QObject
{
public:
    HintLine(QObject* parent, QLabel* line);
    void watch(QWidget* control, const QString& hint);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showHintAt(QWidget* watched, QPointF position);

    QLabel* line_;
    QHash<const QObject*, QString> hints_;
};

} // namespace brivanto
