#include "output/TfrmAnteprimaCartolina.h"

#include "editor/RecordEditor.h"
#include "report/ReportOutput.h"

namespace brivanto {

TfrmAnteprimaCartolina::TfrmAnteprimaCartolina(RecordEditor& editor)
    : CardPrintScreen(editor, {QStringLiteral("TfrmAnteprimaCartolina"), QStringLiteral(" Anteprima di stampa"),
                               QStringLiteral(":/print/anteprima_spiegazione.svg"), QStringLiteral("Mostra anteprima"),
                               QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non \u00E8 "
                                              "andata a buon fine.\n\r\n\rSi consiglia di ridurre le dimensioni "
                                              "della foto.")})
{
}

void TfrmAnteprimaCartolina::runLastStep(report::Report& card)
{
    report::preview(card, this);
}

void showCardPreview(RecordEditor& editor)
{
    auto* screen = new TfrmAnteprimaCartolina(editor);
    screen->exec();
    delete screen;
}

} // namespace brivanto
