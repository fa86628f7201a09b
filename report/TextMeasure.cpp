#include "report/TextMeasure.h"

#include <QFontInfo>

namespace brivanto::report {
namespace {
constexpr int ReferenceDpi = 1200;
constexpr double ReferenceDotsPerMm = ReferenceDpi / 25.4;

QImage referenceDevice()
{
    QImage device(1, 1, QImage::Format_RGB32);
    const int dotsPerMetre = qRound(ReferenceDpi / 0.0254);
    device.setDotsPerMeterX(dotsPerMetre);
    device.setDotsPerMeterY(dotsPerMetre);
    return device;
}

QFont styleFont(const TextStyle& style)
{
    QFont font(style.family);
    font.setPointSizeF(style.points);
    font.setBold(style.bold);
    // Outlines as designed at every size, so that a screen and a printer agree on widths.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}
} // namespace

TextMeasure::TextMeasure(const TextStyle& style)
    : reference_(referenceDevice()), font_(styleFont(style)), metrics_(font_, &reference_),
      ascent_(metrics_.ascent() / ReferenceDotsPerMm), descent_(metrics_.descent() / ReferenceDotsPerMm)
{
    if (QFontInfo(font_).fixedPitch())
        fixedAdvance_ = metrics_.horizontalAdvance(QLatin1Char('M')) / ReferenceDotsPerMm;
}

double TextMeasure::widthMm(QStringView text) const
{
    if (fixedAdvance_ > 0)
        return text.size() * fixedAdvance_;
    return metrics_.horizontalAdvance(text.toString()) / ReferenceDotsPerMm;
}

qsizetype TextMeasure::fittingLength(QStringView text, double widthMm) const
{
    if (widthMm <= 0)
        return 0;
    if (fixedAdvance_ > 0)
        return std::min<qsizetype>(text.size(), static_cast<qsizetype>(widthMm / fixedAdvance_ + 1e-9));
    if (this->widthMm(text) <= widthMm)
        return text.size();
    // The longest start that fits: widths grow with length.
    qsizetype fits = 0;
    qsizetype tooLong = text.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = (fits + tooLong) / 2;
        if (this->widthMm(text.first(middle)) <= widthMm)
            fits = middle;
        else
            tooLong = middle;
    }
    // Never split a surrogate pair.
    if (fits > 0 && text[fits - 1].isHighSurrogate())
        --fits;
    return fits;
}

} // namespace brivanto::report
