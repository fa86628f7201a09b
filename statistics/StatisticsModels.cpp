#include "statistics/StatisticsModels.h"

#include <QCollator>

namespace brivanto::statistics {

void BarModel::setChart(const ShownChart* shown)
{
    beginResetModel();
    shown_ = shown;
    endResetModel();
}

const TableRow* BarModel::row(int index) const
{
    if (!shown_ || index < 0 || std::size_t(index) >= shown_->rows.size())
        return nullptr;
    return &shown_->rows[std::size_t(index)];
}

int BarModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !shown_ ? 0 : int(shown_->rows.size());
}

QVariant BarModel::data(const QModelIndex& index, int role) const
{
    const TableRow* bar = row(index.row());
    if (!bar)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return bar->label;
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        return rowDescription(*bar, shown_->measure);
    default:
        return {};
    }
}

void TableModel::setChart(const ShownChart* shown)
{
    beginResetModel();
    shown_ = shown;
    endResetModel();
}

int TableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !shown_ ? 0 : int(shown_->rows.size());
}

int TableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : TableColumns;
}

QVariant TableModel::data(const QModelIndex& index, int role) const
{
    if (!shown_ || !index.isValid() || std::size_t(index.row()) >= shown_->rows.size())
        return {};
    const TableRow& row = shown_->rows[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return tableCells(row).at(index.column());
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case SortRole:
        switch (index.column()) {
        case 0:
            return row.label;
        case 1:
            return qlonglong(row.totals.games);
        case 2:
            return qlonglong(row.totals.forSale);
        case 3:
            // Sums beyond 64 bits sort by their leading digits, which is all a sort can tell.
            return double(row.totals.value);
        default:
            return qlonglong(row.sharePermille);
        }
    case BarRole:
        return index.row();
    case KindRole:
        return int(row.kind);
    default:
        return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !shown_)
        return {};
    if (role == Qt::DisplayRole)
        return tableHeadings(shown_->chart, shown_->measure).value(section);
    if (role == Qt::TextAlignmentRole)
        return section == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                            : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

bool TableSorter::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const bool leftOwn = left.data(TableModel::KindRole).toInt() == int(GroupKind::Value);
    const bool rightOwn = right.data(TableModel::KindRole).toInt() == int(GroupKind::Value);
    if (leftOwn != rightOwn) {
        // The groups of their own first, in either direction.
        return sortOrder() == Qt::AscendingOrder ? leftOwn : rightOwn;
    }
    if (!leftOwn)
        return sortOrder() == Qt::AscendingOrder ? left.row() < right.row() : left.row() > right.row();
    const QVariant a = left.data(TableModel::SortRole);
    const QVariant b = right.data(TableModel::SortRole);
    if (a.typeId() == QMetaType::QString) {
        static const QCollator collator = [] {
            QCollator italian{QLocale(QLocale::Italian, QLocale::Italy)};
            italian.setCaseSensitivity(Qt::CaseInsensitive);
            italian.setNumericMode(true);
            return italian;
        }();
        return collator.compare(a.toString(), b.toString()) < 0;
    }
    if (a.typeId() == QMetaType::Double)
        return a.toDouble() < b.toDouble();
    return a.toLongLong() < b.toLongLong();
}

} // namespace brivanto::statistics
