#include "statistics/StatisticsPage.h"

#include "platform/Formats.h"

#include <algorithm>

namespace brivanto::statistics {

using report::BandKind;
using report::TextStyle;

std::vector<FigureLine> figureLines(const Figures& figures)
{
    QString withoutValue = gamesText(figures.all.withoutValue);
    if (figures.unreadableValue > 0)
        withoutValue += QStringLiteral(" (") + countText(figures.unreadableValue) +
                        (figures.unreadableValue == 1 ? QStringLiteral(" non leggibile)")
                                                      : QStringLiteral(" non leggibili)"));
    return {
        {QStringLiteral("Giochi"), countText(figures.all.games), std::nullopt},
        {QStringLiteral("Valore totale"), moneyText(figures.all.value), std::nullopt},
        {QStringLiteral("Valore medio"), moneyText(figures.average), std::nullopt},
        {QStringLiteral("Valore mediano"), moneyText(figures.median), std::nullopt},
        {QStringLiteral("In vendita"),
         gamesText(figures.all.forSale) + QStringLiteral(", ") + moneyText(figures.all.valueForSale),
         Subset::ForSale},
        {QStringLiteral("Senza valore di mercato"), withoutValue, Subset::WithoutValue},
        {QStringLiteral("Senza foto"), gamesText(figures.withoutPhoto), Subset::WithoutPhoto},
        {QStringLiteral("Con difetti annotati"), gamesText(figures.withDefects), Subset::WithDefects},
    };
}

namespace {

const QColor Ink(0x22, 0x31, 0x3A);
const QColor Grey(0x60, 0x6A, 0x70);
const QColor SlateGrey(0x70, 0x80, 0x90);
const QColor HeadingFill(0xE6, 0xEE, 0xF6);
const QString Verdana = QStringLiteral("Verdana");
const QString Arial = QStringLiteral("Arial");

// The printable area is 190 x 277 mm; positions below are from its corner.
constexpr double Width = 190.0;
constexpr double LabelWidth = 52.0;
constexpr double BarLeft = 55.0;
constexpr double BarLength = 62.0;
constexpr double RowsTop = 65.0;
constexpr double RowsBottom = 258.0;
constexpr double Pitch = 7.0;
constexpr double SmallestPitch = 4.2;
constexpr double FooterTop = 270.0;

struct Column
{
    double left, width;
};
constexpr Column GamesColumn{118.0, 15.0};
constexpr Column ForSaleColumn{134.0, 15.0};
constexpr Column ValueColumn{150.0, 25.0};
constexpr Column ShareColumn{176.0, 13.0};

double proportion(WideCents part, WideCents whole)
{
    return whole == 0 ? 0.0 : double(part) / double(whole);
}

} // namespace

report::Report makeStatisticsPage(const CollectionStatistics& statistics, ChartId chart, Measure chosen,
                                  const PageHeading& heading)
{
    const Measure measure = chartMeasure(chart, chosen);
    report::Report page(QStringLiteral("Statistiche della collezione"),
                        report::ReportPage(QSizeF(210, 297), QPageLayout::Portrait, 10));
    report::Band& band = page.addBand(QStringLiteral("Statistiche"), BandKind::Page, 277);

    band.addShape(QStringLiteral("shpTitolo"), {0, 0, Width, 9}, NotForSaleColour, NotForSaleColour);
    band.addText(
        QStringLiteral("txtTitolo"), {2, 1.5, Width - 4, 6},
        TextStyle{.family = Verdana, .points = 12, .bold = true, .colour = Qt::white, .centred = true},
        u"Statistiche della collezione");
    band.addText(QStringLiteral("txtArchivio"), {1, 11, Width - 2, 5},
                 TextStyle{.family = Verdana, .points = 9, .colour = Ink},
                 QString(QStringLiteral("Archivio: ") + heading.archiveName + QStringLiteral(" \u2014 ") +
                         heading.coverage));
    band.addText(QStringLiteral("txtLettura"), {1, 16.5, Width - 2, 4.5},
                 TextStyle{.family = Verdana, .points = 8, .colour = Grey},
                 QString(QStringLiteral("Dati letti il ") + platform::shortDate(heading.readAt.date()) +
                         QStringLiteral(" alle ") + platform::longTime(heading.readAt.time())));

    // The figures, two columns of four.
    band.addShape({}, {0, 22, Width, 26}, QColor(), QColor(0xB0, 0xBE, 0xC5));
    const std::vector<FigureLine> figures = figureLines(statistics.figures());
    const TextStyle caption{.family = Verdana, .points = 8, .bold = true, .colour = Ink};
    const TextStyle value{.family = Verdana, .points = 8.5, .colour = Ink};
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const double x = i < 4 ? 2.0 : 97.0;
        const double y = 23.5 + double(i % 4) * 6.0;
        band.addText(QStringLiteral("txtCifra%1").arg(i + 1), {x, y, 46, 5}, caption, figures[i].caption);
        band.addText(QStringLiteral("txtValore%1").arg(i + 1), {x + 46, y, 45, 5}, value, figures[i].value);
    }

    // The chart's title and the columns of its rows.
    const ChartInfo& info = chartInfo(chart);
    band.addShape({}, {0, 51, Width, 7}, HeadingFill, HeadingFill);
    band.addText(QStringLiteral("txtGrafico"), {2, 52, Width - 4, 5.5},
                 TextStyle{.family = Verdana, .points = 10, .bold = true, .colour = Ink},
                 QString(QString::fromUtf16(info.title) + (measure == Measure::Games
                                                               ? QStringLiteral(", per numero di giochi")
                                                               : QStringLiteral(", per valore di mercato"))));
    const QStringList headings = tableHeadings(chart, measure);
    const TextStyle columnHeading{.family = Verdana, .points = 7, .bold = true, .colour = Grey};
    const TextStyle columnHeadingRight{
        .family = Verdana, .points = 7, .bold = true, .colour = Grey, .right = true};
    band.addText({}, {1, 59.5, LabelWidth, 4}, columnHeading, headings[0]);
    band.addText({}, {GamesColumn.left, 59.5, GamesColumn.width, 4}, columnHeadingRight, headings[1]);
    band.addText({}, {ForSaleColumn.left, 59.5, ForSaleColumn.width, 4}, columnHeadingRight, headings[2]);
    band.addText({}, {ValueColumn.left, 59.5, ValueColumn.width, 4}, columnHeadingRight,
                 QStringLiteral("Valore"));
    band.addText({}, {ShareColumn.left, 59.5, ShareColumn.width, 4}, columnHeadingRight,
                 QStringLiteral("Quota"));

    // The rows: as many as the page holds, closer together when there are many.
    const std::vector<TableRow> rows = chartRows(statistics, chart, measure);
    const auto room = std::size_t((RowsBottom - RowsTop) / SmallestPitch);
    const std::size_t printed = rows.size() <= room ? rows.size() : room - 1;
    const double pitch =
        std::clamp((RowsBottom - RowsTop) / double(std::max<std::size_t>(printed, 1)), SmallestPitch, Pitch);
    WideCents longest = 1;
    for (const TableRow& row : rows)
        longest = std::max(longest, measureOf(row.totals, measure));
    const TextStyle label{.family = Arial, .points = 8, .colour = Ink};
    const TextStyle figure{.family = Arial, .points = 8, .colour = Ink, .right = true};
    const double barHeight = std::min(4.5, pitch - 1.5);
    for (std::size_t r = 0; r < printed; ++r) {
        const TableRow& row = rows[r];
        const double top = RowsTop + double(r) * pitch;
        const QString n = QString::number(r + 1);
        band.addText(QStringLiteral("txtGruppo") + n, {1, top, LabelWidth, pitch - 0.5}, label, row.label);
        const double length = BarLength * proportion(measureOf(row.totals, measure), longest);
        const WideCents forSale =
            measure == Measure::Games ? WideCents(row.totals.forSale) : row.totals.valueForSale;
        const double forSaleLength = length * proportion(forSale, measureOf(row.totals, measure));
        const double barTop = top + (pitch - 0.5 - barHeight) / 2;
        if (length - forSaleLength > 0)
            band.addShape(QStringLiteral("shpBarra") + n,
                          {BarLeft, barTop, length - forSaleLength, barHeight}, NotForSaleColour,
                          NotForSaleColour);
        if (forSaleLength > 0)
            band.addShape(QStringLiteral("shpVendita") + n,
                          {BarLeft + length - forSaleLength, barTop, forSaleLength, barHeight}, ForSaleColour,
                          ForSaleColour);
        const QStringList cells = tableCells(row);
        band.addText({}, {GamesColumn.left, top, GamesColumn.width, pitch - 0.5}, figure, cells[1]);
        band.addText({}, {ForSaleColumn.left, top, ForSaleColumn.width, pitch - 0.5}, figure, cells[2]);
        band.addText({}, {ValueColumn.left, top, ValueColumn.width, pitch - 0.5}, figure, cells[3]);
        band.addText({}, {ShareColumn.left, top, ShareColumn.width, pitch - 0.5}, figure, cells[4]);
    }
    double below = RowsTop + double(printed) * pitch + 2;
    if (printed < rows.size()) {
        band.addText(
            QStringLiteral("txtAltriGruppi"), {1, below, Width - 2, 4.5},
            TextStyle{.family = Arial, .points = 8, .colour = Grey},
            QString(
                QStringLiteral("Altri %1 gruppi non entrano nella pagina: la tabella completa si copia o si "
                               "salva in un file CSV dalla finestra delle statistiche.")
                    .arg(rows.size() - printed)));
        below += 5;
    }

    // The legend, and what a chart of players adds up to.
    band.addShape({}, {BarLeft, below + 0.75, 3, 3}, NotForSaleColour, NotForSaleColour);
    band.addText(QStringLiteral("txtLegenda1"), {BarLeft + 4, below, 30, 4.5},
                 TextStyle{.family = Arial, .points = 8, .colour = Ink}, u"non in vendita");
    band.addShape({}, {BarLeft + 35, below + 0.75, 3, 3}, ForSaleColour, ForSaleColour);
    band.addText(QStringLiteral("txtLegenda2"), {BarLeft + 39, below, 30, 4.5},
                 TextStyle{.family = Arial, .points = 8, .colour = Ink}, u"in vendita");
    if (!CollectionStatistics::groupsArePartition(chart))
        band.addText(
            QStringLiteral("txtNota"), {1, below + 5, Width - 2, 4.5},
            TextStyle{.family = Arial, .points = 8, .colour = Grey},
            u"Un gioco per pi\u00F9 numeri di giocatori conta in ciascuno: le quote non fanno 100 %.");

    band.addText(QStringLiteral("txtPagina"), {0, FooterTop, Width, 6},
                 TextStyle{.family = Verdana,
                           .points = 8,
                           .bold = true,
                           .colour = Qt::white,
                           .fill = SlateGrey,
                           .centred = true},
                 QString(QStringLiteral("Stampa eseguita in data ") +
                         platform::shortDate(heading.printedAt.date()) + QStringLiteral(" alle ore ") +
                         platform::longTime(heading.printedAt.time())));
    return page;
}

} // namespace brivanto::statistics
