#include "report/PdfOutput.h"
#include "report/ReportError.h"
#include "report/ReportOutput.h"

#include "platform/PrintDialogs.h"

#include <QPainter>
#include <QPrinter>
#include <QProgressDialog>

namespace brivanto::report {
namespace {

// The progress window appears only for a job that lasts longer than this.
constexpr int ProgressDelayMs = 700;

ReportError printFailed(const QPrinter& printer)
{
    const QString where = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    return ReportError(QStringLiteral("Errore di stampa: la stampante \"%1\" non ha accettato il documento.").arg(where));
}

} // namespace

bool print(const Report& report, QWidget* parent)
{
    const PreparedReport& prepared = report.prepared();
    const int pageCount = static_cast<int>(prepared.pages.size());
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(prepared.name);
    printer.setCreator(QStringLiteral("Brivanto"));
    printer.setFullPage(true);
    printer.setPageLayout(paperLayout(prepared));
    if (!platform::Printing::current().choosePrinter(parent, printer, pageCount))
        return false;
    // The report is laid out for its own paper, whatever the chosen printer starts with.
    printer.setFullPage(true);
    printer.setPageLayout(paperLayout(prepared));

    int first = 1;
    int last = pageCount;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(first, printer.fromPage());
        last = std::min(last, printer.toPage());
    }
    if (first > last)
        return true;

    QPainter painter;
    if (!painter.begin(&printer))
        throw printFailed(printer);
    // Where the printer makes no copies itself, each copy is printed in turn.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    const int pagesInAll = (last - first + 1) * copies;

    QProgressDialog progress(parent);
    progress.setWindowTitle(prepared.name);
    progress.setCancelButtonText(QStringLiteral("Annulla"));
    progress.setRange(0, pagesInAll);
    progress.setMinimumDuration(ProgressDelayMs);
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    int printed = 0;
    const PageProgress onPage = [&](int, int) {
        ++printed;
        progress.setLabelText(QStringLiteral("Stampa in corso: pagina %1 di %2").arg(printed).arg(pagesInAll));
        progress.setValue(printed);
        return !progress.wasCanceled();
    };

    bool completed = true;
    for (int copy = 0; copy < copies && completed; ++copy) {
        if (copy > 0 && !printer.newPage())
            throw printFailed(printer);
        completed = drawPages(painter, printer, prepared, first, last, onPage);
    }
    if (!completed) {
        printer.abort();
        painter.end();
        return false;
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw printFailed(printer);
    return true;
}

} // namespace brivanto::report
