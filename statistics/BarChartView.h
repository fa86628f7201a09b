#pragma once

#include <QListView>

namespace brivanto::statistics {

class BarModel;

// The chart on view, drawn with Qt's own painter: a horizontal bar a group, its label on the left
// and its figure at its tip, the part for sale in the second colour, on a light grid of tenths of
// the longest bar. Each bar is an item of a list, so the arrows, Home and End go from bar to bar,
// a screen reader says each one's label and figures, and Enter or a double-click lists its games
// (`activated`).
class BarChartView final : public QListView
{
    Q_OBJECT
public:
    explicit BarChartView(QWidget* parent);

    void setBars(BarModel* model);
    BarModel* bars() const { return bars_; }
    // Where the label column ends and the bars start, in the view's own pixels.
    int barsLeft() const;
    // The room for the longest bar.
    int barRoom() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    BarModel* bars_ = nullptr;
};

} // namespace brivanto::statistics
