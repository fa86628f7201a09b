#include "report/Report.h"

#include "report/ReportError.h"

#include <algorithm>
#include <cmath>

namespace brivanto::report {
namespace {

// Pictures are printed at no more than this resolution: a 12-megapixel photo becomes a few
// megabytes of page instead of travelling whole to the printer.
constexpr double PictureDotsPerMm = 300.0 / 25.4;
// Positions are sums of decimal millimetres; this absorbs their rounding.
constexpr double Tolerance = 1e-6;

QImage pictureAtPrintSize(const QImage& picture, const QSizeF& printedMm)
{
    const QSize wanted(std::max(1, static_cast<int>(std::ceil(printedMm.width() * PictureDotsPerMm))),
                       std::max(1, static_cast<int>(std::ceil(printedMm.height() * PictureDotsPerMm))));
    if (picture.width() <= wanted.width() && picture.height() <= wanted.height())
        return picture;
    return picture.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Places the objects of a band whose top stands at `top` on the page.
class PageBuilder
{
public:
    PageBuilder(PreparedReport& result, QPointF printableOrigin) : result_(result), origin_(printableOrigin)
    {
        newPage();
    }
    void newPage() { result_.pages.emplace_back(); }

    void place(const ReportObject& object, double bandTop, qsizetype firstLine = 0, qsizetype lineCount = -1)
    {
        PlacedItem item;
        item.kind = object.kind();
        item.box = object.geometry().translated(origin_.x(), origin_.y() + bandTop);
        switch (object.kind()) {
        case ObjectKind::Text: {
            const auto& text = static_cast<const TextObject&>(object);
            item.style = &text.style();
            item.lines = text.lines();
            item.firstLine = firstLine;
            item.lineCount = lineCount < 0 ? visibleLines(text) : lineCount;
            if (text.isMultiLine())
                item.box.setHeight(item.lineCount * unitsToMm(text.style().lineHeightUnits));
            break;
        }
        case ObjectKind::Picture: {
            const QImage& picture = static_cast<const PictureObject&>(object).picture();
            if (!picture.isNull() && picture.width() > 0 && picture.height() > 0) {
                const double scale = std::min(item.box.width() / picture.width(), item.box.height() / picture.height());
                const QSizeF printed(picture.width() * scale, picture.height() * scale);
                item.pictureBox = QRectF(item.box.center() - QPointF(printed.width() / 2, printed.height() / 2), printed);
                item.picture = pictureAtPrintSize(picture, printed);
            }
            break;
        }
        case ObjectKind::Shape: {
            const auto& shape = static_cast<const ShapeObject&>(object);
            item.fill = shape.fill();
            item.outline = shape.outline();
            break;
        }
        case ObjectKind::Band:
            return;
        }
        result_.pages.back().items.push_back(std::move(item));
    }

    // The lines of a multi-line text that its box holds; a single-line text shows its first line.
    static qsizetype visibleLines(const TextObject& text)
    {
        if (!text.isMultiLine())
            return std::min<qsizetype>(1, text.lineCount());
        const auto room = static_cast<qsizetype>(std::floor(text.height() / text.style().lineHeightUnits + Tolerance));
        return std::min(text.lineCount(), room);
    }

private:
    PreparedReport& result_;
    QPointF origin_;
};

} // namespace

QSizeF ReportPage::paperMm() const
{
    return orientation_ == QPageLayout::Landscape ? paper_.transposed() : paper_;
}

QSizeF ReportPage::printableMm() const
{
    return paperMm() - QSizeF(2 * margin_, 2 * margin_);
}

Report::Report(QString name, ReportPage page) : name_(std::move(name)), page_(page) {}

ReportPage& Report::page(int index)
{
    if (index != 0)
        throw ReportError(QStringLiteral("Errore di stampa: il documento \"%1\" non ha la pagina %2.")
                              .arg(name_)
                              .arg(index + 1));
    return page_;
}

Band& Report::addBand(QString name, BandKind kind, double heightMm)
{
    bands_.push_back(std::make_unique<Band>(std::move(name), kind, heightMm));
    return *bands_.back();
}

ReportObject& Report::find(QStringView name, ObjectKind kind)
{
    ReportObject* found = nullptr;
    for (const auto& band : bands_) {
        if (band->name() == name) {
            found = band.get();
            break;
        }
        for (const auto& object : band->objects()) {
            if (!object->name().isEmpty() && object->name() == name) {
                found = object.get();
                break;
            }
        }
        if (found)
            break;
    }
    if (!found)
        throw ReportError(QStringLiteral("Errore di stampa: l'oggetto \"%1\" non esiste nel documento \"%2\".")
                              .arg(name.toString(), name_));
    if (found->kind() != kind)
        throw ReportError(QStringLiteral("Errore di stampa: l'oggetto \"%1\" del documento \"%2\" non \u00E8 di tipo %3.")
                              .arg(name.toString(), name_, kindName(kind)));
    return *found;
}

TextObject& Report::findText(QStringView name)
{
    return static_cast<TextObject&>(find(name, ObjectKind::Text));
}

PictureObject& Report::findPicture(QStringView name)
{
    return static_cast<PictureObject&>(find(name, ObjectKind::Picture));
}

Band& Report::findBand(QStringView name)
{
    return static_cast<Band&>(find(name, ObjectKind::Band));
}

const PreparedReport& Report::prepare()
{
    prepared_.reset();
    auto result = std::make_unique<PreparedReport>();
    result->name = name_;
    result->paperMm = page_.paperMm();
    result->orientation = page_.orientation();

    const double pageHeight = page_.printableMm().height();
    PageBuilder pages(*result, QPointF(page_.marginMm(), page_.marginMm()));
    double cursor = 0; // from the top of the printable area of the current page

    auto startNewPage = [&] {
        pages.newPage();
        cursor = 0;
    };

    for (const auto& band : bands_) {
        const double bandHeight = band->geometry().height();
        const TextObject* flowing = nullptr;
        if (band->bandKind() == BandKind::MasterData) {
            for (const auto& object : band->objects())
                if (object->kind() == ObjectKind::Text && static_cast<const TextObject&>(*object).isMultiLine())
                    flowing = static_cast<const TextObject*>(object.get());
        }
        if (!flowing || PageBuilder::visibleLines(*flowing) == 0) {
            // A band that is not split moves whole to a new page when it does not fit.
            if (cursor > 0 && cursor + bandHeight > pageHeight + Tolerance)
                startNewPage();
            for (const auto& object : band->objects())
                pages.place(*object, cursor);
            cursor = std::min(cursor + bandHeight, pageHeight);
            continue;
        }

        // The data band: its other objects open it; its lines continue on as many pages as
        // they need; what the band holds below its text follows the last line.
        const double textTop = flowing->geometry().top();
        const double pitch = unitsToMm(flowing->style().lineHeightUnits);
        const qsizetype total = PageBuilder::visibleLines(*flowing);
        if (cursor > 0 && cursor + textTop + pitch > pageHeight + Tolerance)
            startNewPage();
        for (const auto& object : band->objects())
            if (object.get() != flowing)
                pages.place(*object, cursor);
        qsizetype done = 0;
        while (true) {
            const double room = pageHeight - cursor - textTop;
            const auto fits = std::max<qsizetype>(0, static_cast<qsizetype>(std::floor(room / pitch + Tolerance)));
            const qsizetype here = std::min(fits, total - done);
            if (here > 0)
                pages.place(*flowing, cursor, done, here);
            done += here;
            if (done == total) {
                cursor += textTop + here * pitch;
                break;
            }
            if (here == 0 && cursor == 0)
                throw ReportError(QStringLiteral("Errore di stampa: una riga del documento \"%1\" non entra nella pagina.")
                                      .arg(name_));
            startNewPage();
        }
        const double below = bandHeight - (textTop + flowing->geometry().height());
        cursor = std::min(cursor + std::max(0.0, below), pageHeight);
    }

    prepared_ = std::move(result);
    return *prepared_;
}

const PreparedReport& Report::prepared() const
{
    if (!prepared_)
        throw ReportError(QStringLiteral("Errore di stampa: il documento \"%1\" non \u00E8 stato preparato.").arg(name_));
    return *prepared_;
}

} // namespace brivanto::report
