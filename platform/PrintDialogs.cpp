#include "platform/PrintDialogs.h"

#include <QPrintDialog>
#include <QPrinter>

namespace brivanto::platform {
namespace {

class QtPrintDialogs final : public PrintDialogs
{
public:
    bool choosePrinter(QWidget* parent, QPrinter& printer, int pageCount) override
    {
        QPrintDialog dialog(&printer, parent);
        dialog.setMinMax(1, pageCount);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, pageCount > 1);
        return dialog.exec() == QDialog::Accepted;
    }
};

} // namespace

PrintDialogs& PrintDialogs::real()
{
    static QtPrintDialogs dialogs;
    return dialogs;
}

} // namespace brivanto::platform
