#pragma once

#include "report/PreparedReport.h"

#include <QPageLayout>
#include <QString>

#include <functional>

class QPagedPaintDevice;

namespace brivanto::report {

// The paper of a prepared report, with no margins: every position is measured from the paper's
// corner.
QPageLayout paperLayout(const PreparedReport& report);

// Called after each page with the pages done and the pages in all; false stops the output.
using PageProgress = std::function<bool(int done, int total)>;

// Draws pages `first`..`last` (1-based, inclusive) of `report` on a device whose painter is
// already active, a new page between them. Returns false when `progress` stopped it.
bool drawPages(QPainter& painter, QPagedPaintDevice& device, const PreparedReport& report, int first, int last,
               const PageProgress& progress = {});

// Writes the prepared report to a PDF file; a ReportError when the file cannot be written.
void writePdf(const PreparedReport& report, const QString& path);

} // namespace brivanto::report
