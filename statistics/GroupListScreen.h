#pragma once

#include "report/Report.h"
#include "search/ListLines.h"

#include <QDialog>

class QLabel;

namespace brivanto {
class ListPanel;
class RecordEditorAccess;
} // namespace brivanto

namespace brivanto::statistics {

// The games of a bar or of a figure of the statistics: the list the search shows, with its find,
// its printed summary and its double-click (or Enter), which opens a game on the record editor
// after the question about unsaved changes and closes the list.
class GroupListScreen : public QDialog
{
    Q_OBJECT
public:
    // `what`: "Genere: Strategico"; `lines`: the games' list lines, in list order.
    GroupListScreen(RecordEditorAccess& editor, const QString& what, ListLines lines, QWidget* parent);

    const ListLines& listedLines() const;

public Q_SLOTS:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnChiudiClick();
    void btnStampaClick();
    void lstRecordsDblClick();

    RecordEditorAccess& editor_;
    QString what_;
    ListPanel* panContainer_ = nullptr;
    report::Report frxReport_;
};

} // namespace brivanto::statistics
