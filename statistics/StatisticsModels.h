#pragma once

#include "statistics/StatisticsTable.h"

#include <QAbstractListModel>
#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <vector>

namespace brivanto::statistics {

// The rows of the chart on view, shared by its bars and its table.
struct ShownChart
{
    ChartId chart = ChartId::Genre;
    Measure measure = Measure::Games; // what the bars measure (the most valuable: always value)
    std::vector<TableRow> rows;
    WideCents longest = 0; // the largest measure of a row
};

// The bars of the chart on view: one item a bar, in the chart's order. An item's text is its
// label; what a screen reader says of it is its label with its figures.
class BarModel final : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setChart(const ShownChart* shown);
    const TableRow* row(int index) const;
    const ShownChart* shown() const { return shown_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const ShownChart* shown_ = nullptr;
};

// The table of the chart on view: group, games, games for sale, market value, share.
class TableModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    // What a cell holds to be sorted by: the figure itself, not its text.
    static constexpr int SortRole = Qt::UserRole + 1;
    // The group's row in the chart (its bar).
    static constexpr int BarRole = Qt::UserRole + 2;
    // Whether it is a group of its own, "Altro" or a group without a value (sorted last).
    static constexpr int KindRole = Qt::UserRole + 3;

    using QAbstractTableModel::QAbstractTableModel;

    void setChart(const ShownChart* shown);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const ShownChart* shown_ = nullptr;
};

// The table sorted by the column the user chose; "Altro" and the groups without a value stay
// at the end, whichever way the column runs.
class TableSorter final : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

} // namespace brivanto::statistics
