#pragma once

#include "report/TextLines.h"

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>

#include <memory>
#include <vector>

namespace brivanto::report {

// Templates measure heights in 1/96 inch; geometry is kept in millimetres.
inline constexpr double UnitsPerMm = 96.0 / 25.4;
inline double unitsToMm(double units)
{
    return units / UnitsPerMm;
}
inline double mmToUnits(double mm)
{
    return mm * UnitsPerMm;
}

enum class ObjectKind
{
    Text,
    Picture,
    Shape,
    Band
};
QString kindName(ObjectKind kind);

// How a text object looks. Texts always stand on one line each, cut at the right edge of their
// box, never wrapped.
struct TextStyle
{
    QString family;
    double points = 10;
    bool bold = false;
    QColor colour = Qt::black;
    QColor fill = QColor();          // none when invalid
    bool centred = false;            // across; otherwise left-aligned
    bool right = false;              // against the right edge of its box (figures in columns)
    double lineHeightUnits = 0;      // > 0: a multi-line object whose lines stand this far apart
};

class ReportObject
{
public:
    ReportObject(QString name, ObjectKind kind, const QRectF& geometryMm)
        : name_(std::move(name)), kind_(kind), geometry_(geometryMm)
    {
    }
    virtual ~ReportObject() = default;
    ReportObject(const ReportObject&) = delete;
    ReportObject& operator=(const ReportObject&) = delete;

    const QString& name() const { return name_; }
    ObjectKind kind() const { return kind_; }
    // Millimetres from the top-left corner of its band.
    const QRectF& geometry() const { return geometry_; }

    double height() const { return mmToUnits(geometry_.height()); }
    // A negative or non-finite height is refused with a ReportError.
    void setHeight(double units);

private:
    QString name_;
    ObjectKind kind_;
    QRectF geometry_;
};

class TextObject final : public ReportObject
{
public:
    TextObject(QString name, const QRectF& geometryMm, TextStyle style, QStringView designText);

    const TextStyle& style() const { return style_; }
    bool isMultiLine() const { return style_.lineHeightUnits > 0; }

    // The whole text, replacing what was there (the design text at first). A single-line object
    // keeps line breaks inside its one line, where they print as blanks.
    void setText(QStringView text);
    QString text() const { return lines_.text(); }
    void clearLines() { lines_.clear(); }
    void appendLine(QStringView line) { lines_.append(line); }
    void reserveLines(qsizetype lines, qsizetype characters) { lines_.reserve(lines, characters); }
    qsizetype lineCount() const { return lines_.size(); }
    const TextLines& lines() const { return lines_; }

private:
    TextStyle style_;
    TextLines lines_;
};

class PictureObject final : public ReportObject
{
public:
    PictureObject(QString name, const QRectF& geometryMm) : ReportObject(std::move(name), ObjectKind::Picture, geometryMm)
    {
    }
    // Keeps its own copy: later changes to `picture` do not reach the report.
    void setPicture(const QImage& picture) { picture_ = picture; }
    const QImage& picture() const { return picture_; }

private:
    QImage picture_;
};

// A rectangle of the template: a bar filled and outlined, or a box with a thin outline.
class ShapeObject final : public ReportObject
{
public:
    ShapeObject(QString name, const QRectF& geometryMm, QColor fill, QColor outline)
        : ReportObject(std::move(name), ObjectKind::Shape, geometryMm), fill_(fill), outline_(outline)
    {
    }
    const QColor& fill() const { return fill_; }
    const QColor& outline() const { return outline_; }

private:
    QColor fill_;
    QColor outline_;
};

enum class BandKind
{
    Page,        // the objects of a one-page report, placed on its first page
    ReportTitle, // once, at the top of the first page
    MasterData,  // once, its lines split over as many pages as they need
    Footer       // once, right after the data band
};

class Band final : public ReportObject
{
public:
    Band(QString name, BandKind bandKind, double heightMm);

    BandKind bandKind() const { return bandKind_; }

    TextObject& addText(QString name, const QRectF& geometryMm, TextStyle style, QStringView designText = {});
    PictureObject& addPicture(QString name, const QRectF& geometryMm);
    ShapeObject& addShape(QString name, const QRectF& geometryMm, QColor fill, QColor outline);

    const std::vector<std::unique_ptr<ReportObject>>& objects() const { return objects_; }

private:
    BandKind bandKind_;
    std::vector<std::unique_ptr<ReportObject>> objects_;
};

} // namespace brivanto::report
