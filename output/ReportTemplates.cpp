#include "output/ReportTemplates.h"

#include <array>

namespace brivanto {

using report::BandKind;
using report::TextStyle;

namespace {

const QColor RoyalBlue(0x41, 0x69, 0xE1);
const QColor SlateGrey(0x70, 0x80, 0x90);
const QString Arial = QStringLiteral("Arial");
const QString Verdana = QStringLiteral("Verdana");
const QString CourierNew = QStringLiteral("Courier New");

// A field block of the card: a royal-blue caption bar at (left, top), w wide, and below it a
// box with the value object. Millimetres from the printable area's corner.
struct CardBlock
{
    double top, left, width;
    const char16_t* caption;
    const char* value;
};
constexpr std::array<CardBlock, 20> CardBlocks{{
    {139.0, 1.0, 93.0, u"CODICE ID", "txtTipologia"},
    {139.0, 96.0, 93.0, u"GENERE", "txtEditore"},
    {153.0, 1.0, 44.0, u"ANNO DI USCITA", "txtAnno"},
    {153.0, 47.0, 47.0, u"LINGUA DEL GIOCO", "txtDimensioni"},
    {153.0, 96.0, 93.0, u"CASA EDITRICE", "txtSerie"},
    {167.0, 1.0, 93.0, u"AUTORE", "txtCarta"},
    {167.0, 96.0, 93.0, u"RARITA'", "txtRarita"},
    {181.0, 1.0, 188.0, u"DESCRIZIONE DEL GIOCO", "txtDescrizione"},
    {195.0, 1.0, 93.0, u"PAESE DI ORIGINE", "txtMittente"},
    {195.0, 96.0, 93.0, u"LIVELLO DI COMPLESSITA'", "txtIndirizzoMit"},
    {209.0, 1.0, 93.0, u"DIMENSIONI DELLA SCATOLA", "txtDestinatario"},
    {209.0, 96.0, 93.0, u"DIFETTI", "txtIndirizzoDes"},
    {223.0, 1.0, 44.0, u"ETA' CONSIGLIATA", "txtFrancobollo"},
    {223.0, 47.0, 47.0, u"VALORE DI MERCATO", "txtValore"},
    {223.0, 96.0, 93.0, u"DURATA MEDIA DELLA PARTITA", "txtTimbro"},
    {237.0, 1.0, 188.0, u"CONTENUTO DELLA SCATOLA", "txtTesto"},
    {251.0, 1.0, 44.0, u"NUMERO DI GIOCATORI", "txtData"},
    {251.0, 47.0, 47.0, u"STATO CONSERVAZIONE", "txtStato"},
    {251.0, 96.0, 93.0, u"LUOGO CONSERVAZIONE", "txtLuogo"},
    {265.0, 1.0, 188.0, u"NOTE", "txtNote"},
}};
constexpr double CaptionBarHeight = 4.8;
constexpr double ValueBoxTop = 5.0;
constexpr double ValueBoxHeight = 6.0;
constexpr double CaptionInset = 1.0;
constexpr double CaptionHeight = 3.6;
constexpr double ValueTop = 6.4;
constexpr double ValueHeight = 4.0;

} // namespace

report::Report makeCardReport()
{
    report::Report card(QStringLiteral("Scheda Gioco da Tavolo"),
                        report::ReportPage(QSizeF(210, 297), QPageLayout::Portrait, 10));
    report::Band& page = card.addBand(QStringLiteral("Scheda"), BandKind::Page, 277);

    page.addText(QStringLiteral("txtNome"), {1.0, 0.5, 188.0, 4.0}, TextStyle{.family = Arial, .points = 7},
                 u"NOME ARCHIVIO");
    page.addShape(QStringLiteral("shpTitolo"), {1.0, 5.0, 188.0, 8.0}, RoyalBlue, RoyalBlue);
    page.addText(QStringLiteral("txtTitolo"), {2.0, 6.2, 186.0, 6.0},
                 TextStyle{.family = Arial, .points = 12, .colour = Qt::white, .centred = true}, u"TITOLO");
    page.addPicture(QStringLiteral("imgLogo"), {1.0, 16.0, 188.0, 121.0});

    const TextStyle caption{.family = Arial, .points = 8, .bold = true, .colour = Qt::white};
    const TextStyle value{.family = Arial, .points = 8};
    for (const CardBlock& block : CardBlocks) {
        page.addShape({}, {block.left, block.top, block.width, CaptionBarHeight}, RoyalBlue, RoyalBlue);
        page.addText({}, {block.left + CaptionInset, block.top + CaptionInset, block.width - 2 * CaptionInset, CaptionHeight},
                     caption, QStringView(block.caption));
        page.addShape({}, {block.left, block.top + ValueBoxTop, block.width, ValueBoxHeight}, {}, Qt::black);
        page.addText(QLatin1String(block.value),
                     {block.left + CaptionInset, block.top + ValueTop, block.width - 2 * CaptionInset, ValueHeight}, value);
    }
    return card;
}

report::Report makeSummaryReport()
{
    report::Report summary(QStringLiteral("Riepilogo dati"),
                           report::ReportPage(QSizeF(210, 297), QPageLayout::Landscape, 10));
    summary.addBand(QStringLiteral("ReportTitle"), BandKind::ReportTitle, 8.0)
        .addText(QStringLiteral("txtTitolo"), {2.0, 1.0, 273.0, 5.0},
                 TextStyle{.family = Verdana, .points = 9, .bold = true, .colour = Qt::white, .fill = SlateGrey, .centred = true}, u"Riepilogo");
    summary.addBand(QStringLiteral("MasterData"), BandKind::MasterData, report::unitsToMm(10))
        .addText(QStringLiteral("txtRiepilogo"), {3.0, 0.0, 273.0, 0.0},
                 TextStyle{.family = CourierNew, .points = 8, .lineHeightUnits = SummaryLineHeight});
    summary.addBand(QStringLiteral("Footer"), BandKind::Footer, 8.0)
        .addText(QStringLiteral("txtPagina"), {3.0, 2.0, 272.0, 5.0},
                 TextStyle{.family = Verdana, .points = 8, .bold = true, .colour = Qt::white, .fill = SlateGrey, .centred = true}, u"Stampa eseguita in data [DATE]");
    return summary;
}

} // namespace brivanto
