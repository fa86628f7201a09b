#include "statistics/BarChartView.h"

#include "statistics/StatisticsModels.h"
#include "statistics/StatisticsPage.h"

#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace brivanto::statistics {
namespace {

constexpr int RowHeight = 30;
constexpr int BarHeight = 18;
constexpr int Margin = 10;
constexpr int FigureRoom = 120; // for the figure at the tip of the longest bar
const QColor Ink(0x22, 0x31, 0x3A);
const QColor GridColour(0xE3, 0xE8, 0xEC);
const QColor CurrentFill(0xFF, 0xF4, 0xD6);
const QColor FocusFrame(0xE8, 0xA3, 0x3D);

double proportion(WideCents part, WideCents whole)
{
    return whole == 0 ? 0.0 : double(part) / double(whole);
}

// Draws one bar of the chart: the row's label, the bar in two parts, the figure at its tip.
class BarDelegate final : public QStyledItemDelegate
{
public:
    explicit BarDelegate(BarChartView* view) : QStyledItemDelegate(view), view_(view) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {200, RowHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const BarModel* model = view_->bars();
        const TableRow* row = model ? model->row(index.row()) : nullptr;
        if (!row)
            return;
        const ShownChart& shown = *model->shown();
        painter->save();
        const QRect box = option.rect;
        const bool current = option.state & QStyle::State_HasFocus;
        const bool selected = option.state & QStyle::State_Selected;
        if (selected || current)
            painter->fillRect(box, CurrentFill);

        // The label, cut with an ellipsis when it is too long for its column.
        QFont font = view_->font();
        font.setItalic(row->kind != GroupKind::Value);
        painter->setFont(font);
        painter->setPen(Ink);
        const QRect labelBox(box.left() + Margin, box.top(), view_->barsLeft() - 2 * Margin, box.height());
        painter->drawText(labelBox, Qt::AlignRight | Qt::AlignVCenter,
                          painter->fontMetrics().elidedText(row->label, Qt::ElideRight, labelBox.width()));

        // The bar: the games not for sale, then those for sale.
        const WideCents measure = measureOf(row->totals, shown.measure);
        const WideCents forSale =
            shown.measure == Measure::Games ? WideCents(row->totals.forSale) : row->totals.valueForSale;
        const double length = view_->barRoom() * proportion(measure, shown.longest);
        const double forSaleLength = length * proportion(forSale, measure);
        const QRectF bar(view_->barsLeft(), box.top() + (box.height() - BarHeight) / 2.0, length, BarHeight);
        painter->setPen(Qt::NoPen);
        painter->fillRect(QRectF(bar.left(), bar.top(), length - forSaleLength, bar.height()),
                          NotForSaleColour);
        painter->fillRect(QRectF(bar.left() + length - forSaleLength, bar.top(), forSaleLength, bar.height()),
                          ForSaleColour);

        painter->setPen(Ink);
        QFont figureFont = view_->font();
        figureFont.setBold(true);
        painter->setFont(figureFont);
        painter->drawText(QRectF(bar.right() + 6, box.top(), FigureRoom, box.height()),
                          Qt::AlignLeft | Qt::AlignVCenter, barFigure(*row, shown.measure));

        // The bar that has the keyboard's focus is framed, as the picture buttons are.
        if (current && view_->hasFocus()) {
            painter->setRenderHint(QPainter::Antialiasing, true);
            painter->setPen(QPen(FocusFrame, 2));
            painter->setBrush(Qt::NoBrush);
            painter->drawRoundedRect(QRectF(box).adjusted(1, 1, -1, -1), 4, 4);
        }
        painter->restore();
    }

private:
    BarChartView* view_;
};

} // namespace

BarChartView::BarChartView(QWidget* parent) : QListView(parent)
{
    setItemDelegate(new BarDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::NoFrame);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMouseTracking(true);
    viewport()->setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    setPalette(colours);
}

void BarChartView::setBars(BarModel* model)
{
    bars_ = model;
    setModel(model);
}

int BarChartView::barsLeft() const
{
    // A third of the width for the labels, within reason.
    return std::clamp(viewport()->width() / 3, 120, 280);
}

int BarChartView::barRoom() const
{
    return std::max(40, viewport()->width() - barsLeft() - FigureRoom - Margin);
}

void BarChartView::paintEvent(QPaintEvent* event)
{
    // The grid behind the bars: a line at each tenth of the longest bar.
    {
        QPainter painter(viewport());
        painter.setPen(QPen(GridColour, 1));
        const int top = 0;
        const int bottom = viewport()->height();
        for (int tenth = 0; tenth <= 10; ++tenth) {
            const int x = barsLeft() + qRound(barRoom() * tenth / 10.0);
            painter.drawLine(x, top, x, bottom);
        }
    }
    QListView::paintEvent(event);
}

void BarChartView::resizeEvent(QResizeEvent* event)
{
    QListView::resizeEvent(event);
    // Bars are as long as the width allows: all of them change with it.
    viewport()->update();
}

} // namespace brivanto::statistics
