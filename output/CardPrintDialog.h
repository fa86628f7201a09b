#pragma once

#include "output/CardDialogBase.h"

namespace brivanto {

// The card print screen: prints the record on the editor as an A4 card.
class CardPrintDialog final : public CardDialogBase
{
    Q_OBJECT
public:
    explicit CardPrintDialog(RecordEditorAccess& editor);

protected:
    void runLastStep(report::Report& card) override;
};

// Opens a fresh card print screen over the editor, modally, and discards it when it closes.
void showCardPrint(RecordEditorAccess& editor);

} // namespace brivanto
