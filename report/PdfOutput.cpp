#include "report/PdfOutput.h"

#include "report/PageRenderer.h"
#include "report/ReportError.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>

namespace brivanto::report {

QPageLayout paperLayout(const PreparedReport& report)
{
    const QSizeF portrait = report.orientation == QPageLayout::Landscape ? report.paperMm.transposed() : report.paperMm;
    const QPageSize paper(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    return QPageLayout(paper, report.orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool drawPages(QPainter& painter, QPagedPaintDevice& device, const PreparedReport& report, int first, int last,
               const PageProgress& progress)
{
    PageRenderer renderer;
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    const int total = last - first + 1;
    for (int page = first; page <= last; ++page) {
        if (page > first && !device.newPage())
            throw ReportError(QStringLiteral("Errore di stampa: impossibile iniziare la pagina %1 del documento \"%2\".")
                                  .arg(page)
                                  .arg(report.name));
        renderer.drawPage(painter, report.pages[static_cast<std::size_t>(page - 1)], dotsPerMm);
        if (progress && !progress(page - first + 1, total))
            return false;
    }
    return true;
}

void writePdf(const PreparedReport& report, const QString& path)
{
    const auto failed = [&] {
        return ReportError(QStringLiteral("Errore di stampa: impossibile scrivere il file \"%1\".")
                               .arg(QFileInfo(path).fileName()));
    };
    QPdfWriter writer(path);
    writer.setTitle(report.name);
    writer.setCreator(QStringLiteral("Brivanto"));
    if (!writer.setPageLayout(paperLayout(report)))
        throw failed();
    QPainter painter;
    if (!painter.begin(&writer))
        throw failed();
    drawPages(painter, writer, report, 1, static_cast<int>(report.pages.size()));
    if (!painter.end())
        throw failed();
}

} // namespace brivanto::report
