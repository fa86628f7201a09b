#include "report/ReportObjects.h"

#include "report/ReportError.h"

#include <cmath>

namespace brivanto::report {

QString kindName(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Text:
        return QStringLiteral("testo");
    case ObjectKind::Picture:
        return QStringLiteral("immagine");
    case ObjectKind::Shape:
        return QStringLiteral("forma");
    case ObjectKind::Band:
        return QStringLiteral("banda");
    }
    return {};
}

void ReportObject::setHeight(double units)
{
    if (!std::isfinite(units) || units < 0)
        throw ReportError(QStringLiteral("Errore di stampa: altezza non valida per l'oggetto \"%1\".").arg(name_));
    geometry_.setHeight(unitsToMm(units));
}

TextObject::TextObject(QString name, const QRectF& geometryMm, TextStyle style, QStringView designText)
    : ReportObject(std::move(name), ObjectKind::Text, geometryMm), style_(std::move(style))
{
    setText(designText);
}

void TextObject::setText(QStringView text)
{
    if (isMultiLine()) {
        lines_.setText(text);
        return;
    }
    lines_.clear();
    lines_.append(text);
}

Band::Band(QString name, BandKind bandKind, double heightMm)
    : ReportObject(std::move(name), ObjectKind::Band, QRectF(0, 0, 0, heightMm)), bandKind_(bandKind)
{
}

TextObject& Band::addText(QString name, const QRectF& geometryMm, TextStyle style, QStringView designText)
{
    auto object = std::make_unique<TextObject>(std::move(name), geometryMm, std::move(style), designText);
    TextObject& added = *object;
    objects_.push_back(std::move(object));
    return added;
}

PictureObject& Band::addPicture(QString name, const QRectF& geometryMm)
{
    auto object = std::make_unique<PictureObject>(std::move(name), geometryMm);
    PictureObject& added = *object;
    objects_.push_back(std::move(object));
    return added;
}

ShapeObject& Band::addShape(QString name, const QRectF& geometryMm, QColor fill, QColor outline)
{
    auto object = std::make_unique<ShapeObject>(std::move(name), geometryMm, fill, outline);
    ShapeObject& added = *object;
    objects_.push_back(std::move(object));
    return added;
}

} // namespace brivanto::report
