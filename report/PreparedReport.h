#pragma once

#include "report/ReportObjects.h"

#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QString>

#include <vector>

namespace brivanto::report {

// One thing to draw on a prepared page, in millimetres from the paper's top-left corner. Texts
// and pictures are held by value; their lines and pixels are shared with the template, not
// copied, until the template changes.
struct PlacedItem
{
    ObjectKind kind = ObjectKind::Shape;
    QRectF box;
    // Text: its look and the lines of this page.
    const TextStyle* style = nullptr;
    TextLines lines;
    qsizetype firstLine = 0;
    qsizetype lineCount = 0;
    // Picture: already brought to the size it is printed at.
    QImage picture;
    QRectF pictureBox;
    // Shape.
    QColor fill;
    QColor outline;
};

struct PreparedPage
{
    std::vector<PlacedItem> items;
};

// The pages of a prepared report, ready for the printer, the preview or a PDF file. It refers to
// the text styles of its template, so it lives no longer than the report that made it.
struct PreparedReport
{
    QString name;
    QSizeF paperMm;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    std::vector<PreparedPage> pages;
};

} // namespace brivanto::report
