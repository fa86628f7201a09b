#pragma once

#include "output/CardDialogBase.h"

namespace brivanto {

// The card preview screen: shows the record on the editor as its A4 card will be printed.
class CardPreviewDialog final : public CardDialogBase
{
    Q_OBJECT
public:
    explicit CardPreviewDialog(RecordEditorAccess& editor);

protected:
    void runLastStep(report::Report& card) override;
};

// Opens a fresh card preview screen over the editor, modally, and discards it when it closes.
void showCardPreview(RecordEditorAccess& editor);

} // namespace brivanto
