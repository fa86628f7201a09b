#pragma once

#include "report/Report.h"
#include "search/ListLines.h"
#include "search/ListStatistics.h"

#include <QDialog>

namespace brivanto {

class ListPanel;
class RecordEditorAccess;

// The for-sale summary: the sorted list lines of every record not marked "No", built each time
// the screen is shown, with the search screen's find and double-click.
class ForSaleList : public QDialog
{
    Q_OBJECT
public:
    // `statistics`: how the list's "Statistiche" opens the statistics of its games; none, no button.
    ForSaleList(RecordEditorAccess& editor, QWidget* parent, OpenListStatistics statistics = {});

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
    void btnStatisticheClick();

    RecordEditorAccess& editor_;
    OpenListStatistics statistics_;
    ListPanel* panContainer_ = nullptr;
    // The summary template that "Stampa" fills with the listed lines.
    report::Report frxReport_;
};

// Opens a fresh for-sale summary over the editor, modally, and discards it when it closes.
void showForSale(RecordEditorAccess& editor, OpenListStatistics statistics = {});

} // namespace brivanto
