#include "output/CardPreviewDialog.h"

#include "editor/RecordEditorAccess.h"
#include "report/ReportOutput.h"

namespace brivanto {

CardPreviewDialog::CardPreviewDialog(RecordEditorAccess& editor)
    : CardDialogBase(editor,
                     {QStringLiteral("TfrmAnteprimaCartolina"), QStringLiteral(" Anteprima di stampa"),
                      QStringLiteral(":/print/anteprima_spiegazione.svg"), QStringLiteral("Mostra anteprima"),
                      QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non \u00E8 "
                                     "andata a buon fine.\n\r\n\rSi consiglia di ridurre le dimensioni "
                                     "della foto.")})
{}

void CardPreviewDialog::runLastStep(report::Report& card)
{
    report::preview(card, this);
}

void showCardPreview(RecordEditorAccess& editor)
{
    auto* screen = new CardPreviewDialog(editor);
    screen->exec();
    delete screen;
}

} // namespace brivanto
