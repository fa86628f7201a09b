#include "output/TfrmStampaCartolina.h"

#include "editor/RecordEditor.h"
#include "report/ReportOutput.h"

namespace brivanto {

TfrmStampaCartolina::TfrmStampaCartolina(RecordEditor& editor)
    : CardPrintScreen(editor, {QStringLiteral("TfrmStampaCartolina"), QStringLiteral(" Stampa documento"),
                               QStringLiteral(":/print/stampa_spiegazione.svg"), QStringLiteral("Stampa"),
                               QStringLiteral("Attenzione: la stampa non \u00E8 andata a buon fine.\n\r\n\r"
                                              "Si consiglia di ridurre le dimensioni della foto.")})
{
}

// Cancelling the print dialogue is not a failure: the screen just closes.
void TfrmStampaCartolina::runLastStep(report::Report& card)
{
    report::print(card, this);
}

void showCardPrint(RecordEditor& editor)
{
    auto* screen = new TfrmStampaCartolina(editor);
    screen->exec();
    delete screen;
}

} // namespace brivanto
