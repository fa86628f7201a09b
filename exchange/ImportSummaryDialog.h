#pragma once

#include "exchange/ImportRun.h"

#include <QDialog>

class QPushButton;

namespace brivanto {

// What an import will do, shown before anything is written: the games it brings, the rows it
// leaves out and why, what will be cut or replaced. "Importa" accepts, "Annulla" and Escape
// reject. A plan with nothing to import leaves only "Annulla" enabled.
class ImportSummaryDialog : public QDialog
{
    Q_OBJECT
public:
    ImportSummaryDialog(const ImportPlan& plan, const QString& fileName, QWidget* parent = nullptr);

    // The lines of the summary, as shown; a plain function so that tests and the guide agree.
    static QStringList summaryLines(const ImportPlan& plan);

private:
    QPushButton* import_;
    QPushButton* cancel_;
};

} // namespace brivanto
