#include "output/CardPrintDialog.h"

#include "editor/RecordEditorAccess.h"
#include "report/ReportOutput.h"

namespace brivanto {

CardPrintDialog::CardPrintDialog(RecordEditorAccess& editor)
    : CardDialogBase(editor, {QStringLiteral("TfrmStampaCartolina"), QStringLiteral(" Stampa documento"),
                              QStringLiteral(":/print/stampa_spiegazione.svg"), QStringLiteral("Stampa"),
                              QStringLiteral("Attenzione: la stampa non \u00E8 andata a buon fine.\n\r\n\r"
                                             "Si consiglia di ridurre le dimensioni della foto.")})
{}

// Cancelling the print dialogue is not a failure: the screen just closes.
void CardPrintDialog::runLastStep(report::Report& card)
{
    report::print(card, this);
}

void showCardPrint(RecordEditorAccess& editor)
{
    auto* screen = new CardPrintDialog(editor);
    screen->exec();
    delete screen;
}

} // namespace brivanto
