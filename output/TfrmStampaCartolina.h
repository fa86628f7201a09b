#pragma once

#include "output/CardPrintScreen.h"

namespace brivanto {

// The card print screen: prints the record on the editor as an A4 card.
class TfrmStampaCartolina final : public CardPrintScreen
{
    Q_OBJECT
public:
    explicit TfrmStampaCartolina(RecordEditor& editor);

protected:
    void runLastStep(report::Report& card) override;
};

// Opens a fresh card print screen over the editor, modally, and discards it when it closes.
void showCardPrint(RecordEditor& editor);

} // namespace brivanto
