#pragma once

#include "report/PreparedReport.h"

#include <QDialog>

#include <exception>

class QComboBox;
class QLabel;
class QScrollArea;
class QToolButton;

namespace brivanto::report {

class Report;
class PreviewPage;

// The preview window: the prepared pages as they will be printed, at 100 % to begin with. It
// offers print, zoom, full screen, page browsing and close, and nothing that changes the pages.
class ReportPreview final : public QDialog
{
    Q_OBJECT
public:
    ReportPreview(const Report& report, QWidget* parent);
    ~ReportPreview() override;

    int currentPage() const { return current_; }
    int pageCount() const;
    // The zoom as a factor of the paper's real size.
    double zoom() const { return zoom_; }
    void setZoom(double factor);
    void showPage(int index);
    // Set when a print started from here failed; the window closes then.
    std::exception_ptr printFailure() const { return printFailure_; }

private:
    void printClicked();
    void toggleFullScreen();
    void zoomChosen(int entry);
    void updateControls();
    QToolButton* addTool(const char* name, const char* picture, const QString& hint);

    const Report& report_;
    const PreparedReport& prepared_;
    int current_ = 0;
    double zoom_ = 1.0;
    std::exception_ptr printFailure_;

    QWidget* bar_ = nullptr;
    QComboBox* zoomBox_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    PreviewPage* page_ = nullptr;
};

} // namespace brivanto::report
