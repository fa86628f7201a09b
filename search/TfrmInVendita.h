#pragma once

#include "report/Report.h"
#include "search/ListLines.h"

#include <QDialog>

namespace brivanto {

class ListPanel;
class RecordEditor;

// The for-sale summary: the sorted list lines of every record not marked "No", built each time
// the screen is shown, with the search screen's find and double-click.
class TfrmInVendita : public QDialog
{
    Q_OBJECT
public:
    TfrmInVendita(RecordEditor& editor, QWidget* parent);

    // The listed lines, in list order.
    const ListLines& listedLines() const;

public Q_SLOTS:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildList();
    void btnChiudiClick();
    void btnStampaClick();
    void lstRecordsDblClick();

    RecordEditor& editor_;
    ListPanel* panContainer_ = nullptr;
    // The summary template that "Stampa" fills with the listed lines.
    report::Report frxReport_;
};

// Opens a fresh for-sale summary over the editor, modally, and discards it when it closes.
void showForSale(RecordEditor& editor);

} // namespace brivanto
