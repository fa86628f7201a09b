#pragma once

#include "report/PreparedReport.h"
#include "report/ReportObjects.h"

#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

namespace brivanto::report {

// The page of a report: the paper, its orientation and its margins, in millimetres.
class ReportPage
{
public:
    ReportPage(QSizeF portraitPaperMm, QPageLayout::Orientation orientation, double marginMm)
        : paper_(portraitPaperMm), orientation_(orientation), margin_(marginMm)
    {
    }
    void setOrientation(QPageLayout::Orientation orientation) { orientation_ = orientation; }
    QPageLayout::Orientation orientation() const { return orientation_; }
    // The paper as it lies: width and height swapped in landscape.
    QSizeF paperMm() const;
    double marginMm() const { return margin_; }
    QSizeF printableMm() const;

private:
    QSizeF paper_;
    QPageLayout::Orientation orientation_;
    double margin_;
};

// A report template and its values: the bands with their objects, filled through the objects'
// names, then prepared into pages. Every failure is a ReportError.
class Report
{
public:
    Report(QString name, ReportPage page);

    const QString& name() const { return name_; }
    // The report's one page description; any other index is an error.
    ReportPage& page(int index);

    Band& addBand(QString name, BandKind kind, double heightMm);

    // The object of that name, which must be of that kind.
    TextObject& findText(QStringView name);
    PictureObject& findPicture(QStringView name);
    Band& findBand(QStringView name);

    // Lays out the pages from the template and its values, replacing any earlier result.
    const PreparedReport& prepare();
    // The last result of prepare(); an error when there is none.
    const PreparedReport& prepared() const;
    // Lets the last result go, and with it the texts it shares with the template, before the
    // template is filled anew.
    void discardPrepared() { prepared_.reset(); }

private:
    ReportObject& find(QStringView name, ObjectKind kind);

    QString name_;
    ReportPage page_;
    std::vector<std::unique_ptr<Band>> bands_;
    std::unique_ptr<PreparedReport> prepared_;
};

} // namespace brivanto::report
