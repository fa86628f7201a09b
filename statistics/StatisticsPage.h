#pragma once

#include "report/Report.h"
#include "statistics/CollectionStatistics.h"
#include "statistics/StatisticsTable.h"

#include <QColor>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace brivanto::statistics {

// The two colours of a bar, on screen and on paper: the games not for sale and those for sale. A
// dark blue and a light amber: apart for every kind of colour blindness, and apart in grey.
inline const QColor NotForSaleColour(0x1F, 0x4E, 0x8C);
inline const QColor ForSaleColour(0xE8, 0xA3, 0x3D);

// One headline figure as the screen and the page write it.
struct FigureLine
{
    QString caption;
    QString value;
    std::optional<Subset> games; // the games it counts, listed from the screen
};
// Games, total, average and median value; for sale; without a value, without a photo, with defects.
std::vector<FigureLine> figureLines(const Figures& figures);

// What the page says besides the statistics.
struct PageHeading
{
    QString archiveName;
    QString coverage; // "tutto l'archivio", "42 giochi trovati"
    QDateTime readAt;
    QDateTime printedAt;
};

// "Statistiche della collezione": one A4 page with the figures and the chart on view, its bars
// drawn as rectangles in proportion to their measure (vectors on paper and in PDF files) beside
// the figures of their table row.
report::Report makeStatisticsPage(const CollectionStatistics& statistics, ChartId chart, Measure measure,
                                  const PageHeading& heading);

// The page's layout, for the tests that measure it on paper: where the bars of the rows start and
// how long the longest is, in millimetres from the paper's corner.
inline constexpr double PageBarLeft = 10.0 + 55.0;
inline constexpr double PageBarLength = 62.0;
inline constexpr double PageFirstRowTop = 10.0 + 65.0;
inline constexpr double PageRowPitch = 7.0;

} // namespace brivanto::statistics
