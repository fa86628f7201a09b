#pragma once

#include "report/PreparedReport.h"
#include "report/TextMeasure.h"

#include <QHash>

#include <memory>

class QPainter;

namespace brivanto::report {

// Draws prepared pages. The printer, the preview and PDF files all go through here, so the
// preview shows what the paper gets. The painter works in the device's own pixels, with the
// paper's top-left corner at (0, 0). Fonts take their size from the device's resolution, which
// must be a fine one: at a screen's 96 dots per inch a font's size is rounded to whole dots and
// texts come out wider than on paper (the preview draws at a printer's resolution, scaled down).
class PageRenderer
{
public:
    void drawPage(QPainter& painter, const PreparedPage& page, double dotsPerMm);

private:
    const TextMeasure& measure(const TextStyle* style);
    void drawText(QPainter& painter, const PlacedItem& item, double dotsPerMm);

    QHash<const TextStyle*, std::shared_ptr<TextMeasure>> measures_;
};

} // namespace brivanto::report
