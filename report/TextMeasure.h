#pragma once

#include "report/ReportObjects.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QStringView>

namespace brivanto::report {

// A text style's font measured once, in millimetres, on a fixed high-resolution reference
// rather than on the device being drawn on: where a text is cut and where it stands are then the
// same on the printer, in the preview and in a PDF file.
class TextMeasure
{
public:
    explicit TextMeasure(const TextStyle& style);

    const QFont& font() const { return font_; }
    double ascentMm() const { return ascent_; }
    double heightMm() const { return ascent_ + descent_; }
    double widthMm(QStringView text) const;
    // How many characters from the start of `text` fit in `widthMm`; the text is cut there.
    qsizetype fittingLength(QStringView text, double widthMm) const;

private:
    QImage reference_;
    QFont font_;
    QFontMetricsF metrics_;
    double ascent_;
    double descent_;
    double fixedAdvance_ = 0; // a fixed-pitch font's advance, else 0
};

} // namespace brivanto::report
