#pragma once

#include <QDialog>

class QLabel;
class QTableView;

namespace brivanto {

class ExportGridModel;
class ExportGridDelegate;
class RecordEditorAccess;

// The spreadsheet export: every record of the editor's archive in a grid, some of whose columns
// the user may change before writing the worksheet Zendaro.xls into the program folder.
class ExportScreen : public QDialog
{
    Q_OBJECT
public:
    explicit ExportScreen(RecordEditorAccess& editor);

    const ExportGridModel& grid() const { return *model_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildTopBand();
    void buildGrid();
    void FillGrid();
    void cmdEsportaClick();
    void cmdEsportaCsvClick();
    void cmdGuidaClick();
    void cmdEsciClick();

    RecordEditorAccess& editor_;
    ExportGridModel* model_ = nullptr;
    ExportGridDelegate* delegate_ = nullptr;
    QTableView* grdRecords_ = nullptr;
    QLabel* panInfo_ = nullptr;
};

// Opens a fresh export screen over the editor, modally, and discards it when it closes.
void showExport(RecordEditorAccess& editor);

} // namespace brivanto
