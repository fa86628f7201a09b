#include "statistics/StatisticsTable.h"

#include <algorithm>

namespace brivanto::statistics {

Measure chartMeasure(ChartId chart, Measure chosen)
{
    return chart == ChartId::MostValuable ? Measure::Value : chosen;
}

WideCents measureOf(const Totals& totals, Measure measure)
{
    return measure == Measure::Games ? WideCents(totals.games) : totals.value;
}

namespace {

WideCents wholeOf(const CollectionStatistics& statistics, Measure measure)
{
    return measureOf(statistics.figures().all, measure);
}

} // namespace

std::vector<TableRow> chartRows(const CollectionStatistics& statistics, ChartId chart, Measure chosen)
{
    const Measure measure = chartMeasure(chart, chosen);
    const std::vector<ChartGroup>& groups = statistics.groups(chart);
    const WideCents whole = wholeOf(statistics, measure);
    std::vector<TableRow> rows;
    rows.reserve(groups.size());
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const ChartGroup& group = groups[g];
        rows.push_back({int(g), group.label, group.kind, group.totals,
                        sharePermille(measureOf(group.totals, measure), whole)});
    }
    if (chartInfo(chart).grouping == Grouping::Text && measure == Measure::Value) {
        // The groups of their own by value; "Altro" and "(non indicato)" keep their places at the end.
        const auto values = std::stable_partition(
            rows.begin(), rows.end(), [](const TableRow& row) { return row.kind == GroupKind::Value; });
        std::stable_sort(rows.begin(), values, [](const TableRow& a, const TableRow& b) {
            if (a.totals.value != b.totals.value)
                return a.totals.value > b.totals.value;
            return a.totals.games > b.totals.games;
        });
    }
    return rows;
}

QString gamesText(std::int64_t games)
{
    return games == 1 ? QStringLiteral("1 gioco") : countText(games) + QStringLiteral(" giochi");
}

QString barFigure(const TableRow& row, Measure measure)
{
    return measure == Measure::Games ? gamesText(row.totals.games) : moneyText(row.totals.value);
}

QString rowDescription(const TableRow& row, Measure measure)
{
    QString text = row.label + QStringLiteral(": ") + gamesText(row.totals.games);
    text += QStringLiteral(", ") + countText(row.totals.forSale) + QStringLiteral(" in vendita");
    text += QStringLiteral(", ") + moneyText(row.totals.value);
    if (row.totals.withoutValue > 0)
        text += QStringLiteral(" (") + countText(row.totals.withoutValue) + QStringLiteral(" senza valore)");
    text += QStringLiteral(", ") + shareText(row.sharePermille) +
            (measure == Measure::Games ? QStringLiteral(" dei giochi") : QStringLiteral(" del valore"));
    return text;
}

QStringList tableHeadings(ChartId chart, Measure chosen)
{
    const Measure measure = chartMeasure(chart, chosen);
    return {QString::fromUtf16(chartInfo(chart).heading), QStringLiteral("Giochi"),
            QStringLiteral("In vendita"), QStringLiteral("Valore"),
            measure == Measure::Games ? QStringLiteral("Quota giochi") : QStringLiteral("Quota valore")};
}

QStringList tableCells(const TableRow& row)
{
    return {row.label, countText(row.totals.games), countText(row.totals.forSale),
            moneyText(row.totals.value), shareText(row.sharePermille)};
}

namespace {

// A share as a spreadsheet reads it: "25,0".
QString plainShare(std::int64_t permille)
{
    return QString::number(permille / 10) + QLatin1Char(',') + QString::number(permille % 10);
}

QStringList plainCells(const TableRow& row)
{
    return {row.label, QString::number(row.totals.games), QString::number(row.totals.forSale),
            plainMoneyText(row.totals.value), plainShare(row.sharePermille)};
}

QStringList plainHeadings(ChartId chart, Measure chosen)
{
    const Measure measure = chartMeasure(chart, chosen);
    return {QString::fromUtf16(chartInfo(chart).heading), QStringLiteral("Giochi"),
            QStringLiteral("In vendita"), QStringLiteral("Valore di mercato (\u20AC)"),
            measure == Measure::Games ? QStringLiteral("Quota dei giochi (%)")
                                      : QStringLiteral("Quota del valore (%)")};
}

QByteArray csvValue(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    bool quote = !utf8.isEmpty() && (static_cast<unsigned char>(utf8.front()) <= 0x20 ||
                                     static_cast<unsigned char>(utf8.back()) <= 0x20);
    for (const char c : utf8)
        quote |= c == ';' || c == '"' || static_cast<unsigned char>(c) < 0x20;
    if (!quote)
        return utf8;
    QByteArray quoted = utf8;
    quoted.replace('"', QByteArrayLiteral("\"\""));
    return '"' + quoted + '"';
}

QByteArray csvRow(const QStringList& values)
{
    QByteArray row;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            row += ';';
        row += csvValue(values[i]);
    }
    return row + "\r\n";
}

// A tab or line break inside a label would break the pasted table: it becomes a blank.
QString tabValue(QString text)
{
    for (QChar& c : text) {
        if (c.unicode() < 0x20)
            c = QLatin1Char(' ');
    }
    return text;
}

QString tabRow(const QStringList& values)
{
    QStringList cleaned;
    for (const QString& value : values)
        cleaned.append(tabValue(value));
    return cleaned.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
}

} // namespace

QByteArray tableCsv(ChartId chart, Measure measure, const std::vector<TableRow>& rows)
{
    QByteArray csv("\xEF\xBB\xBF");
    csv += csvRow(plainHeadings(chart, measure));
    for (const TableRow& row : rows)
        csv += csvRow(plainCells(row));
    return csv;
}

QString tableTabText(ChartId chart, Measure measure, const std::vector<TableRow>& rows)
{
    QString text = tabRow(plainHeadings(chart, measure));
    for (const TableRow& row : rows)
        text += tabRow(plainCells(row));
    return text;
}

} // namespace brivanto::statistics
