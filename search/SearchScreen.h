#pragma once

#include "report/Report.h"
#include "search/ListLines.h"
#include "search/ListStatistics.h"
#include "search/RecordMatch.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;

namespace brivanto {

class ListPanel;
class RecordEditorAccess;

// The search screen: up to ten partial-match filters, then the sorted list lines of the records
// that match them all, a find in the list, and a double-click that puts a listed record on the
// record editor.
class SearchScreen : public QDialog
{
    Q_OBJECT
public:
    // `statistics`: how the list's "Statistiche" opens the statistics of its games; none, no button.
    SearchScreen(RecordEditorAccess& editor, QWidget* parent, OpenListStatistics statistics = {});

    // `lblMemory`: only a screen opened by the record editor ("cartoline") writes into it.
    void setCallerTag(const QString& tag);
    // The listed lines, in list order.
    const ListLines& listedLines() const;

public Q_SLOTS:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFilterPanel();
    void btnCercaMouseDown();
    void btnCercaClick();
    void btnAnnullaClick();
    void btnChiudiClick();
    void btnStampaClick();
    void lstRecordsDblClick();
    void btnStatisticheClick();

    RecordEditorAccess& editor_;
    OpenListStatistics statistics_;
    // The filters of the search that made the list: the statistics cover the games they match.
    RecordFilter lastFilter_{{}};
    QWidget* panAvvio_ = nullptr;
    ListPanel* panContainer_ = nullptr;
    // The summary template that "Stampa" fills with the listed lines.
    report::Report frxReport_;
    std::array<QLineEdit*, 10> filters_{};
    QLabel* lblAttendere_ = nullptr;
    QLabel* lblConta_ = nullptr;
    QLabel* callerTag_ = nullptr;
    QLabel* lblTrovate_ = nullptr;
};

// Opens a fresh search screen over the editor, modally, with the given caller tag, and discards
// it when it closes.
void showSearch(RecordEditorAccess& editor, const QString& callerTag, OpenListStatistics statistics = {});

} // namespace brivanto
