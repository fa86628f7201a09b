#include "report/PageRenderer.h"

#include <QPainter>

namespace brivanto::report {
namespace {

constexpr double OutlineMm = 0.2;

QRectF onDevice(const QRectF& mm, double dotsPerMm)
{
    return {mm.x() * dotsPerMm, mm.y() * dotsPerMm, mm.width() * dotsPerMm, mm.height() * dotsPerMm};
}

// A text stands on one line: a control character would break it or draw as nothing useful.
bool hasControlCharacters(QStringView line)
{
    for (const QChar c : line)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    return false;
}

QString oneLine(QStringView line)
{
    QString text = line.toString();
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return text;
}

} // namespace

const TextMeasure& PageRenderer::measure(const TextStyle* style)
{
    auto& known = measures_[style];
    if (!known)
        known = std::make_shared<TextMeasure>(*style);
    return *known;
}

void PageRenderer::drawPage(QPainter& painter, const PreparedPage& page, double dotsPerMm)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const PlacedItem& item : page.items) {
        const QRectF box = onDevice(item.box, dotsPerMm);
        switch (item.kind) {
        case ObjectKind::Shape:
            painter.setPen(item.outline.isValid() ? QPen(item.outline, OutlineMm * dotsPerMm, Qt::SolidLine,
                                                         Qt::SquareCap, Qt::MiterJoin)
                                                  : QPen(Qt::NoPen));
            painter.setBrush(item.fill.isValid() ? QBrush(item.fill) : QBrush(Qt::NoBrush));
            painter.drawRect(box);
            break;
        case ObjectKind::Picture:
            // The box is never transparent; the picture stands centred in it.
            painter.fillRect(box, Qt::white);
            if (!item.picture.isNull())
                painter.drawImage(onDevice(item.pictureBox, dotsPerMm), item.picture);
            break;
        case ObjectKind::Text:
            drawText(painter, item, dotsPerMm);
            break;
        case ObjectKind::Band:
            break;
        }
    }
    painter.restore();
}

void PageRenderer::drawText(QPainter& painter, const PlacedItem& item, double dotsPerMm)
{
    const TextStyle& style = *item.style;
    if (style.fill.isValid())
        painter.fillRect(onDevice(item.box, dotsPerMm), style.fill);
    if (item.lineCount == 0)
        return;
    const TextMeasure& text = measure(item.style);
    painter.setFont(text.font());
    painter.setPen(style.colour);

    const bool multiLine = style.lineHeightUnits > 0;
    const double lineHeight = multiLine ? unitsToMm(style.lineHeightUnits) : item.box.height();
    // Each line is centred in its own height.
    const double baselineBelowTop = (lineHeight - text.heightMm()) / 2 + text.ascentMm();
    const double width = item.box.width();
    for (qsizetype i = 0; i < item.lineCount; ++i) {
        QStringView line = item.lines.at(item.firstLine + i);
        line = line.first(text.fittingLength(line, width));
        const QString drawn = hasControlCharacters(line) ? oneLine(line)
                                                          : QString::fromRawData(line.data(), line.size());
        double left = item.box.left();
        if (style.centred)
            left += (width - text.widthMm(drawn)) / 2;
        else if (style.right)
            left += width - text.widthMm(drawn);
        const double baseline = item.box.top() + i * lineHeight + baselineBelowTop;
        painter.drawText(QPointF(left * dotsPerMm, baseline * dotsPerMm), drawn);
    }
}

} // namespace brivanto::report
