#pragma once

#include "statistics/CollectionStatistics.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace brivanto::statistics {

// What a chart's bars measure: the number of games or their market value.
enum class Measure
{
    Games,
    Value
};

// One bar of a chart, one row of its table.
struct TableRow
{
    int group = 0; // its index among the chart's groups
    QString label;
    GroupKind kind = GroupKind::Value;
    Totals totals;
    std::int64_t sharePermille = 0; // of the measure, of all the games covered
};

// The measure a chart is drawn by: the ten most valuable games always by value.
Measure chartMeasure(ChartId chart, Measure chosen);
// A row's measure: its games, or its value in cents.
WideCents measureOf(const Totals& totals, Measure measure);

// The rows of a chart in the order its bars stand: a text field's groups by the measure, largest
// first (more games, then the label, among equals), "Altro" and the groups without a value last;
// the other charts in their own order.
std::vector<TableRow> chartRows(const CollectionStatistics& statistics, ChartId chart, Measure measure);

// "1 gioco", "1.234 giochi".
QString gamesText(std::int64_t games);
// What a bar says to a screen reader and on its tip: "Strategico: 12 giochi, 3 in vendita,
// 1.234,50 €, 25,0 % dei giochi".
QString rowDescription(const TableRow& row, Measure measure);
// The figure on the tip of a bar: "12 giochi" or "1.234,50 €".
QString barFigure(const TableRow& row, Measure measure);

// The table's columns: the chart's heading, "Giochi", "In vendita", "Valore" (of market), the share
// of the measure ("Quota giochi", "Quota valore").
QStringList tableHeadings(ChartId chart, Measure measure);
inline constexpr int TableColumns = 5;
// A row's cells as the table shows them: figures with a dot between thousands, money with the
// euro sign.
QStringList tableCells(const TableRow& row);

// The table as the program's CSV files are written: UTF-8 with a byte-order mark, ';' between
// values, CRLF after each row, a value in double quotes (its quotes doubled) when it holds ';', '"'
// or a control character or begins or ends with a blank. Figures are plain numbers a spreadsheet
// reads as such: "1234", "12345,50", "25,0".
QByteArray tableCsv(ChartId chart, Measure measure, const std::vector<TableRow>& rows);
// The same values with a tab between them and CRLF after each row, as spreadsheets paste them.
QString tableTabText(ChartId chart, Measure measure, const std::vector<TableRow>& rows);

} // namespace brivanto::statistics
