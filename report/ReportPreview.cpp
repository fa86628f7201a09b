#include "report/ReportPreview.h"

#include "platform/ScreenKeys.h"
#include "report/PageRenderer.h"
#include "report/Report.h"
#include "report/ReportError.h"
#include "report/ReportOutput.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

namespace brivanto::report {
namespace {

struct ZoomEntry
{
    const char16_t* label;
    double factor; // 0: fit the page's width, -1: the whole page
};
constexpr std::array<ZoomEntry, 9> ZoomEntries{{
    {u"25%", 0.25},
    {u"50%", 0.5},
    {u"75%", 0.75},
    {u"100%", 1.0},
    {u"150%", 1.5},
    {u"200%", 2.0},
    {u"400%", 4.0},
    {u"Larghezza pagina", 0},
    {u"Pagina intera", -1},
}};
constexpr int HundredPercent = 3;
constexpr double PrinterDotsPerMm = 1200 / 25.4;
constexpr double MinimumZoom = 0.1;
constexpr double MaximumZoom = 8.0;

} // namespace

// One page drawn at the window's zoom by the same renderer that prints it.
class PreviewPage final : public QWidget
{
public:
    explicit PreviewPage(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("panPagina")); }

    void show(const PreparedPage* page, QSizeF paperMm, double zoom)
    {
        page_ = page;
        zoom_ = zoom;
        cache_ = QImage();
        setFixedSize(qRound(paperMm.width() * dotsPerMm()), qRound(paperMm.height() * dotsPerMm()));
        update();
    }
    // Screen pixels per millimetre of paper: the paper at its real size times the zoom.
    double dotsPerMm() const { return zoom_ * logicalDpiX() / 25.4; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!page_)
            return;
        const qreal ratio = devicePixelRatioF();
        if (cache_.isNull()) {
            cache_ = QImage((QSizeF(size()) * ratio).toSize(), QImage::Format_RGB32);
            cache_.fill(Qt::white);
            // The page is drawn as on a printer of fine resolution, scaled down to the screen's
            // dots: fonts then keep their exact size instead of one rounded to whole dots.
            const int dotsPerMetre = qRound(PrinterDotsPerMm * 1000);
            cache_.setDotsPerMeterX(dotsPerMetre);
            cache_.setDotsPerMeterY(dotsPerMetre);
            QPainter painter(&cache_);
            painter.scale(dotsPerMm() * ratio / PrinterDotsPerMm, dotsPerMm() * ratio / PrinterDotsPerMm);
            PageRenderer().drawPage(painter, *page_, PrinterDotsPerMm);
            painter.end();
            cache_.setDevicePixelRatio(ratio);
        }
        QPainter(this).drawImage(0, 0, cache_);
    }

private:
    const PreparedPage* page_ = nullptr;
    double zoom_ = 1;
    QImage cache_;
};

ReportPreview::ReportPreview(const Report& report, QWidget* parent)
    : QDialog(parent), report_(report), prepared_(report.prepared())
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(prepared_.name);
    setModal(true);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);

    bar_ = new QWidget(this);
    bar_->setObjectName(QStringLiteral("panStrumenti"));
    auto* tools = new QHBoxLayout(bar_);
    tools->setContentsMargins(8, 4, 8, 4);
    tools->setSpacing(6);

    connect(addTool("btnStampa", ":/print/anteprima_stampa.svg", QStringLiteral("Stampa")), &QToolButton::clicked,
            this, &ReportPreview::printClicked);
    tools->addSpacing(12);
    connect(addTool("btnRiduci", ":/print/anteprima_zoom_meno.svg", QStringLiteral("Riduci")),
            &QToolButton::clicked, this, [this] { setZoom(zoom_ / 1.25); });
    zoomBox_ = new QComboBox(bar_);
    zoomBox_->setObjectName(QStringLiteral("cmbZoom"));
    zoomBox_->setEditable(false);
    zoomBox_->setAccessibleName(QStringLiteral("Zoom"));
    for (const ZoomEntry& entry : ZoomEntries)
        zoomBox_->addItem(QString::fromUtf16(entry.label));
    tools->addWidget(zoomBox_);
    connect(zoomBox_, &QComboBox::activated, this, &ReportPreview::zoomChosen);
    connect(addTool("btnIngrandisci", ":/print/anteprima_zoom_piu.svg", QStringLiteral("Ingrandisci")),
            &QToolButton::clicked, this, [this] { setZoom(zoom_ * 1.25); });
    tools->addSpacing(12);
    connect(addTool("btnSchermoIntero", ":/print/anteprima_schermo_intero.svg", QStringLiteral("Schermo intero")),
            &QToolButton::clicked, this, &ReportPreview::toggleFullScreen);
    tools->addSpacing(12);
    connect(addTool("btnPrimaPagina", ":/print/anteprima_pagina_prima.svg", QStringLiteral("Prima pagina")),
            &QToolButton::clicked, this, [this] { showPage(0); });
    connect(addTool("btnPaginaPrecedente", ":/print/anteprima_pagina_indietro.svg", QStringLiteral("Pagina precedente")),
            &QToolButton::clicked, this, [this] { showPage(current_ - 1); });
    pageLabel_ = new QLabel(bar_);
    pageLabel_->setObjectName(QStringLiteral("lblPagina"));
    tools->addWidget(pageLabel_);
    connect(addTool("btnPaginaSuccessiva", ":/print/anteprima_pagina_avanti.svg", QStringLiteral("Pagina successiva")),
            &QToolButton::clicked, this, [this] { showPage(current_ + 1); });
    connect(addTool("btnUltimaPagina", ":/print/anteprima_pagina_ultima.svg", QStringLiteral("Ultima pagina")),
            &QToolButton::clicked, this, [this] { showPage(pageCount() - 1); });
    tools->addStretch();
    connect(addTool("btnChiudi", ":/print/anteprima_chiudi.svg", QStringLiteral("Chiudi")), &QToolButton::clicked,
            this, &QDialog::reject);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("panPagine"));
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    page_ = new PreviewPage(scroll_);
    scroll_->setWidget(page_);
    scroll_->setAccessibleName(QStringLiteral("Anteprima del documento"));
    page_->setAccessibleName(QStringLiteral("Pagina del documento"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar_);
    layout->addWidget(scroll_, 1);

    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);
    zoomBox_->setCurrentIndex(HundredPercent);
    showPage(0);
    platform::applyScreenKeys(this, {.escape = [this] { reject(); }});
}

ReportPreview::~ReportPreview() = default;

QToolButton* ReportPreview::addTool(const char* name, const char* picture, const QString& hint)
{
    auto* button = new QToolButton(bar_);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(QLatin1String(picture)));
    button->setIconSize(QSize(32, 32));
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setCursor(Qt::PointingHandCursor);
    bar_->layout()->addWidget(button);
    return button;
}

int ReportPreview::pageCount() const
{
    return static_cast<int>(prepared_.pages.size());
}

void ReportPreview::showPage(int index)
{
    if (pageCount() == 0)
        return;
    current_ = std::clamp(index, 0, pageCount() - 1);
    page_->show(&prepared_.pages[static_cast<std::size_t>(current_)], prepared_.paperMm, zoom_);
    updateControls();
}

void ReportPreview::setZoom(double factor)
{
    zoom_ = std::clamp(factor, MinimumZoom, MaximumZoom);
    showPage(current_);
}

void ReportPreview::zoomChosen(int entry)
{
    const double factor = ZoomEntries[static_cast<std::size_t>(entry)].factor;
    if (factor > 0) {
        setZoom(factor);
        return;
    }
    const QSize room = scroll_->viewport()->size() - QSize(24, 24);
    const double dotsPerMm = logicalDpiX() / 25.4;
    const double widthFit = room.width() / (prepared_.paperMm.width() * dotsPerMm);
    const double heightFit = room.height() / (prepared_.paperMm.height() * dotsPerMm);
    setZoom(factor == 0 ? widthFit : std::min(widthFit, heightFit));
}

void ReportPreview::updateControls()
{
    pageLabel_->setText(QStringLiteral("Pagina %1 di %2").arg(current_ + 1).arg(pageCount()));
    const QString percent = QStringLiteral("%1%").arg(qRound(zoom_ * 100));
    const int listed = zoomBox_->findText(percent);
    zoomBox_->setPlaceholderText(percent);
    zoomBox_->setCurrentIndex(listed);
    const bool many = pageCount() > 1;
    for (const char* name : {"btnPrimaPagina", "btnPaginaPrecedente", "btnPaginaSuccessiva", "btnUltimaPagina"})
        bar_->findChild<QToolButton*>(QLatin1String(name))->setVisible(many);
    pageLabel_->setVisible(many);
}

void ReportPreview::toggleFullScreen()
{
    if (isFullScreen())
        showMaximized();
    else
        showFullScreen();
}

void ReportPreview::printClicked()
{
    try {
        print(report_, this);
    } catch (...) {
        printFailure_ = std::current_exception();
        reject();
    }
}

void preview(const Report& report, QWidget* parent)
{
    ReportPreview window(report, parent);
    window.exec();
    if (window.printFailure())
        std::rethrow_exception(window.printFailure());
}

} // namespace brivanto::report
