#pragma once

#include "search/ListLines.h"

#include <QAbstractListModel>
#include <QFont>
#include <QSize>

namespace brivanto {

// The lines of a result list, in list order, each drawn in Courier New 12 in black on an item
// 1600 pixels wide, whatever the look of the screen around it. Filled in one go: a list can hold
// every record of an archive.
class ListLineModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit ListLineModel(QObject* parent = nullptr);

    void setLines(ListLines lines);
    const ListLines& lines() const { return lines_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    ListLines lines_;
    QFont font_;
    QSize itemSize_;
};

} // namespace brivanto
