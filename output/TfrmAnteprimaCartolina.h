#pragma once

#include "output/CardPrintScreen.h"

namespace brivanto {

// The card preview screen: shows the record on the editor as its A4 card will be printed.
class TfrmAnteprimaCartolina final : public CardPrintScreen
{
    Q_OBJECT
public:
    explicit TfrmAnteprimaCartolina(RecordEditor& editor);

protected:
    void runLastStep(report::Report& card) override;
};

// Opens a fresh card preview screen over the editor, modally, and discards it when it closes.
void showCardPreview(RecordEditor& editor);

} // namespace brivanto
