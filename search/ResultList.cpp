#include "search/ResultList.h"

#include "platform/ScreenKeys.h"
#include "search/ListLineModel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace brivanto {

ResultList::ResultList(QWidget* parent) : QListView(parent), model_(new ListLineModel(this))
{
    setObjectName(QStringLiteral("lstRecords"));
    setModel(model_);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideNone);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
}

void ResultList::setLines(ListLines lines)
{
    model_->setLines(std::move(lines));
    horizontalScrollBar()->setValue(0);
}

const ListLines& ResultList::lines() const
{
    return model_->lines();
}

int ResultList::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

QString ResultList::selectedLine() const
{
    const int row = selectedRow();
    return row < 0 ? QString() : model_->lines().at(row);
}

void ResultList::selectRow(int row)
{
    const QModelIndex index = model_->index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

bool ResultList::find(QStringView typed)
{
    if (model_->lines().isEmpty())
        return false;
    selectRow(find_.next(model_->lines(), selectedRow(), typed));
    return true;
}

void ResultList::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT listDoubleClicked();
}

void ResultList::keyPressEvent(QKeyEvent* event)
{
    if (platform::isPlainEnter(event) && selectedRow() >= 0) {
        event->accept();
        if (!event->isAutoRepeat())
            Q_EMIT listDoubleClicked();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace brivanto
