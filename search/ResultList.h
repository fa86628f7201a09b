#pragma once

#include "search/ListFind.h"
#include "search/ListLines.h"

#include <QListView>

namespace brivanto {

class ListLineModel;

// The result list `lstRecords`: sorted list lines, one selected at most, wider than the list so
// that it scrolls sideways, with both scroll bars always shown. An item is nothing but its text.
class ResultList : public QListView
{
    Q_OBJECT
public:
    explicit ResultList(QWidget* parent);

    // Lines already in list order.
    void setLines(ListLines lines);
    const ListLines& lines() const;
    // The selected line, or a null text when none is selected.
    QString selectedLine() const;
    int selectedRow() const;
    void selectRow(int row);

    // "Trova" with the typed key; false, with nothing changed, when the list is empty.
    bool find(QStringView typed);
    void forgetLastKey() { find_.reset(); }

Q_SIGNALS:
    // A double-click anywhere in the list, on a line or not, or Enter on a selected line: the
    // keyboard's way to open a line.
    void listDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ListLineModel* model_;
    ListFind find_;
};

} // namespace brivanto
