#include "statistics/StatisticsScreen.h"

#include "editor/PhotoFile.h"
#include "editor/RecordEditorAccess.h"
#include "help/Help.h"
#include "platform/Clock.h"
#include "platform/FileDialogs.h"
#include "platform/Formats.h"
#include "platform/MessageBoxes.h"
#include "platform/ScreenKeys.h"
#include "platform/Timer.h"
#include "report/ReportError.h"
#include "report/ReportOutput.h"
#include "search/ListPanel.h"
#include "search/WaitCursor.h"
#include "shell/Screen.h"
#include "statistics/BarChartView.h"
#include "statistics/GroupListScreen.h"
#include "statistics/GroupListing.h"
#include "statistics/StatisticsPage.h"
#include "storage/ArchiveFile.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QScreen>
#include <QShowEvent>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

namespace brivanto::statistics {
namespace {

// How often the screen looks whether the archive changed since it was read.
constexpr int WatchIntervalMs = 2000;

const QString ScreenStyle = QStringLiteral(
    "QDialog#TfrmStatistiche { background: #FFF8EC; }"
    "QFrame#panCifre { background: #FFFFFF; border: 1px solid #B0BEC5; border-radius: 8px; }"
    "QLabel { color: #22313A; }"
    "QLabel[figure=\"caption\"] { color: #0F5E6B; }"
    "QPushButton[figure=\"true\"] { background: #FFFFFF; color: #22313A; border: 1px solid #87CEEB;"
    " border-radius: 8px; padding: 6px 10px; text-align: left; }"
    "QPushButton[figure=\"true\"]:hover { background: #F0F8FF; }"
    "QPushButton[figure=\"true\"]:focus { border: 2px solid #E8A33D; }"
    "QListWidget, QTableView { background: #FFFFFF; border: 1px solid #B0BEC5; }"
    "QListWidget:focus, QTableView:focus, QListView#grfBarre:focus { border: 2px solid #E8A33D; }"
    "QListWidget::item { padding: 4px; }"
    "QListWidget::item:selected { background: #1F4E8C; color: #FFFFFF; }"
    "QTableView::item:selected { background: #FFF4D6; color: #22313A; }"
    "QRadioButton:focus { color: #1F4E8C; }");

QLabel* label(const QString& name, const QString& text, const QFont& font, QWidget* parent)
{
    auto* shown = new QLabel(text, parent);
    shown->setObjectName(name);
    shown->setFont(font);
    return shown;
}

// The figures' names, by their place in figureLines().
constexpr std::array<const char*, 8> FigureNames{"Giochi",    "ValoreTotale", "ValoreMedio", "ValoreMediano",
                                                 "InVendita", "SenzaValore",  "SenzaFoto",   "ConDifetti"};

QString csvFileName(const QString& archiveName, ChartId chart)
{
    QString name =
        archiveName + QStringLiteral(" - statistiche ") + QString::fromUtf16(chartInfo(chart).title);
    // Only what a file name may hold on every system the folder may be shared with.
    for (QChar& c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') ||
            c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('"') ||
            c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('|') || c.unicode() < 0x20)
            c = QLatin1Char('_');
    }
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(name + QStringLiteral(".csv"));
}

} // namespace

QString coverageText(const StatisticsCoverage& coverage, std::int64_t games)
{
    if (coverage.isWholeArchive())
        return QStringLiteral("tutto l'archivio");
    return countText(games) + QLatin1Char(' ') + (games == 1 ? coverage.one : coverage.many);
}

StatisticsScreen::StatisticsScreen(RecordEditorAccess& editor, StatisticsCoverage coverage, QWidget* parent)
    : QDialog(parent), editor_(editor), coverage_(std::move(coverage))
{
    prepareScreen(this, QStringLiteral("TfrmStatistiche"), QStringLiteral(" Statistiche"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    setSizeGripEnabled(true);
    setStyleSheet(ScreenStyle);
    setMinimumSize(980, 620);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(10);
    buildHeader();
    buildFigures();
    buildCharts();
    buildButtons();

    watch_ = platform::Timers::current().create();
    connect(watch_.get(), &platform::RepeatingTimer::timeout, this, &StatisticsScreen::checkArchiveChanged);
    platform::applyScreenKeys(this, {.escape = [this] { reject(); }, .help = [this] { btnGuidaClick(); }});
}

StatisticsScreen::~StatisticsScreen()
{
    // A screen closed while it reads stops the reading and waits for its threads.
    if (reading_) {
        reading_->cancel();
        reading_.reset();
        QApplication::restoreOverrideCursor();
    }
}

void StatisticsScreen::buildHeader()
{
    auto* header = new QHBoxLayout;
    auto* words = new QVBoxLayout;
    words->setSpacing(2);
    auto* title = label(QStringLiteral("lblTitolo"), QStringLiteral("Statistiche della collezione"),
                        QFont(QStringLiteral("Verdana"), 16, QFont::Bold), this);
    title->setStyleSheet(QStringLiteral("color: #1F4E8C;"));
    words->addWidget(title);
    lblCopertura_ = label(QStringLiteral("lblCopertura"), {}, QFont(QStringLiteral("Verdana"), 10), this);
    words->addWidget(lblCopertura_);
    auto* reading = new QHBoxLayout;
    lblLettura_ = label(QStringLiteral("lblLettura"), {}, QFont(QStringLiteral("Verdana"), 9), this);
    lblLettura_->setStyleSheet(QStringLiteral("color: #606A70;"));
    reading->addWidget(lblLettura_);
    lblCambiato_ =
        label(QStringLiteral("lblCambiato"),
              QStringLiteral("L'archivio \u00E8 cambiato dopo la lettura: premere \"Aggiorna\" per "
                             "leggerlo di nuovo."),
              QFont(QStringLiteral("Verdana"), 9, QFont::Bold), this);
    lblCambiato_->setStyleSheet(QStringLiteral("color: #B25E00;"));
    lblCambiato_->hide();
    reading->addWidget(lblCambiato_);
    reading->addStretch();
    words->addLayout(reading);
    header->addLayout(words, 1);
    auto* aggiorna = screenButton(QStringLiteral("btnAggiorna"), QStringLiteral("Aggio&rna"), this);
    aggiorna->setAccessibleDescription(
        QStringLiteral("Legge di nuovo l'archivio e rif\u00E0 tutte le cifre."));
    connect(aggiorna, &QPushButton::clicked, this, &StatisticsScreen::btnAggiornaClick);
    header->addWidget(aggiorna, 0, Qt::AlignTop);
    static_cast<QVBoxLayout*>(layout())->addLayout(header);
}

void StatisticsScreen::buildFigures()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("panCifre"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(12, 8, 12, 8);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(6);
    const QFont captionFont(QStringLiteral("Verdana"), 9);
    const QFont valueFont(QStringLiteral("Verdana"), 12, QFont::Bold);
    // Four figures to read, then four that list their games.
    for (int i = 0; i < 4; ++i) {
        auto* caption = label(QStringLiteral("lblCifra") + QLatin1String(FigureNames[std::size_t(i)]), {},
                              captionFont, panel);
        caption->setProperty("figure", QStringLiteral("caption"));
        figureValues_[std::size_t(i)] = label(
            QStringLiteral("lblValore") + QLatin1String(FigureNames[std::size_t(i)]), {}, valueFont, panel);
        grid->addWidget(caption, 0, i);
        grid->addWidget(figureValues_[std::size_t(i)], 1, i);
    }
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(panel);
        button->setObjectName(QStringLiteral("btn") + QLatin1String(FigureNames[std::size_t(i + 4)]));
        button->setProperty("figure", true);
        button->setCursor(Qt::PointingHandCursor);
        button->setFont(QFont(QStringLiteral("Verdana"), 10));
        button->setAccessibleDescription(QStringLiteral("Elenca questi giochi."));
        figureButtons_[std::size_t(i)] = button;
        grid->addWidget(button, 2, i);
        connect(button, &QPushButton::clicked, this, [this, i] {
            if (statistics_)
                listSubset(*figureLines(statistics_->figures())[std::size_t(i + 4)].games);
        });
    }
    static_cast<QVBoxLayout*>(layout())->addWidget(panel);
}

void StatisticsScreen::buildCharts()
{
    auto* middle = new QHBoxLayout;
    middle->setSpacing(12);

    auto* choices = new QVBoxLayout;
    auto* chartsLabel = label(QStringLiteral("lblGrafici"), QStringLiteral("&Grafici:"),
                              QFont(QStringLiteral("Verdana"), 10, QFont::Bold), this);
    choices->addWidget(chartsLabel);
    lstGrafici_ = new QListWidget(this);
    lstGrafici_->setObjectName(QStringLiteral("lstGrafici"));
    lstGrafici_->setFont(QFont(QStringLiteral("Verdana"), 10));
    lstGrafici_->setFixedWidth(220);
    for (const ChartInfo& info : Charts)
        lstGrafici_->addItem(QString::fromUtf16(info.title));
    chartsLabel->setBuddy(lstGrafici_);
    lstGrafici_->setAccessibleName(QStringLiteral("Grafici"));
    lstGrafici_->setAccessibleDescription(QStringLiteral("Il grafico da mostrare: le frecce lo cambiano."));
    choices->addWidget(lstGrafici_, 1);

    auto* measureBox = new QGroupBox(QStringLiteral("Le barre misurano"), this);
    measureBox->setObjectName(QStringLiteral("grpMisura"));
    measureBox->setFont(QFont(QStringLiteral("Verdana"), 9));
    auto* measureLayout = new QVBoxLayout(measureBox);
    optGiochi_ = new QRadioButton(QStringLiteral("il &numero di giochi"), measureBox);
    optGiochi_->setObjectName(QStringLiteral("optGiochi"));
    optValore_ = new QRadioButton(QStringLiteral("il &valore di mercato"), measureBox);
    optValore_->setObjectName(QStringLiteral("optValore"));
    measureLayout->addWidget(optGiochi_);
    measureLayout->addWidget(optValore_);
    measures_ = new QButtonGroup(this);
    measures_->addButton(optGiochi_);
    measures_->addButton(optValore_);
    optGiochi_->setChecked(true);
    choices->addWidget(measureBox);
    middle->addLayout(choices);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splGrafico"));
    splitter->setChildrenCollapsible(false);
    auto* chartPanel = new QWidget(splitter);
    auto* chartLayout = new QVBoxLayout(chartPanel);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    lblGrafico_ = label(QStringLiteral("lblGrafico"), {}, QFont(QStringLiteral("Verdana"), 11, QFont::Bold),
                        chartPanel);
    lblGrafico_->setStyleSheet(QStringLiteral("color: #1F4E8C;"));
    chartLayout->addWidget(lblGrafico_);
    grfBarre_ = new BarChartView(chartPanel);
    grfBarre_->setObjectName(QStringLiteral("grfBarre"));
    grfBarre_->setFont(QFont(QStringLiteral("Verdana"), 9));
    grfBarre_->setMinimumWidth(400);
    bars_ = new BarModel(this);
    grfBarre_->setBars(bars_);
    lblGrafico_->setBuddy(grfBarre_);
    chartLayout->addWidget(grfBarre_, 1);
    auto* legend =
        label(QStringLiteral("lblLegenda"),
              QStringLiteral("<span style=\"color:#1F4E8C\">\u25A0</span> non in vendita &nbsp;&nbsp; "
                             "<span style=\"color:#E8A33D\">\u25A0</span> in vendita &nbsp;&nbsp; "
                             "Invio o doppio clic: i giochi della barra"),
              QFont(QStringLiteral("Verdana"), 9), chartPanel);
    legend->setTextFormat(Qt::RichText);
    legend->setWordWrap(true);
    legend->setAccessibleName(
        QStringLiteral("Legenda: la parte chiara di ogni barra sono i giochi in vendita"));
    chartLayout->addWidget(legend);
    lblNota_ =
        label(QStringLiteral("lblNota"),
              QStringLiteral("Un gioco per pi\u00F9 numeri di giocatori conta in ciascuno: le quote non "
                             "fanno 100 %."),
              QFont(QStringLiteral("Verdana"), 9, -1, true), chartPanel);
    lblNota_->hide();
    chartLayout->addWidget(lblNota_);

    tblTabella_ = new QTableView(splitter);
    tblTabella_->setObjectName(QStringLiteral("tblTabella"));
    tblTabella_->setFont(QFont(QStringLiteral("Verdana"), 9));
    table_ = new TableModel(this);
    sorter_ = new TableSorter(this);
    sorter_->setSourceModel(table_);
    tblTabella_->setModel(sorter_);
    tblTabella_->setSortingEnabled(true);
    tblTabella_->sortByColumn(-1, Qt::AscendingOrder); // the chart's own order until a heading is clicked
    tblTabella_->setTabKeyNavigation(false);
    tblTabella_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblTabella_->setSelectionMode(QAbstractItemView::SingleSelection);
    tblTabella_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblTabella_->verticalHeader()->hide();
    tblTabella_->verticalHeader()->setDefaultSectionSize(26);
    tblTabella_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < TableColumns; ++column)
        tblTabella_->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    tblTabella_->setMinimumWidth(500);
    tblTabella_->setAccessibleDescription(
        QStringLiteral("Le cifre del grafico; un clic su un'intestazione ordina la "
                       "tabella, Invio su una riga elenca i suoi giochi."));
    splitter->addWidget(chartPanel);
    splitter->addWidget(tblTabella_);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    middle->addWidget(splitter, 1);
    static_cast<QVBoxLayout*>(layout())->addLayout(middle, 1);

    connect(lstGrafici_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < ChartCount)
            showChart(ChartId(row));
    });
    connect(optGiochi_, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            setMeasure(Measure::Games);
    });
    connect(optValore_, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            setMeasure(Measure::Value);
    });
    // Enter and a double-click list the games of the chosen bar or row, as they open the chosen
    // line of a result list; with nothing chosen they do nothing.
    connect(grfBarre_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (grfBarre_->selectionModel()->isSelected(index))
            listBar(index.row());
    });
    connect(tblTabella_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (tblTabella_->selectionModel()->isRowSelected(index.row(), {}))
            listBar(sorter_->mapToSource(index).row());
    });
    connect(grfBarre_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &StatisticsScreen::chartBarChanged);
    connect(tblTabella_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &StatisticsScreen::tableRowChanged);
}

void StatisticsScreen::buildButtons()
{
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    const auto add = [&](const char* name, const QString& text, const QString& does,
                         void (StatisticsScreen::*handler)()) {
        QPushButton* button = screenButton(QLatin1String(name), text, this);
        button->setAccessibleDescription(does);
        connect(button, &QPushButton::clicked, this, handler);
        row->addWidget(button);
        return button;
    };
    auto* elenca = screenButton(QStringLiteral("btnElenca"), QStringLiteral("&Elenca giochi"), this);
    elenca->setAccessibleDescription(
        QStringLiteral("Elenca i giochi della barra scelta, come Invio sulla barra."));
    connect(elenca, &QPushButton::clicked, this, [this] { listBar(currentBar()); });
    row->addWidget(elenca);
    add("btnCopia", QStringLiteral("&Copia tabella"),
        QStringLiteral("Copia la tabella, da incollare in un foglio di calcolo."),
        &StatisticsScreen::btnCopiaClick);
    add("btnSalvaCsv", QStringLiteral("&Salva CSV"), QStringLiteral("Salva la tabella in un file CSV."),
        &StatisticsScreen::btnSalvaCsvClick);
    add("btnAnteprima", QStringLiteral("&Anteprima"),
        QStringLiteral("Mostra la pagina A4 delle cifre e del grafico come verr\u00E0 stampata."),
        &StatisticsScreen::btnAnteprimaClick);
    add("btnStampa", QStringLiteral("S&tampa"),
        QStringLiteral("Stampa su un foglio A4 le cifre e il grafico."), &StatisticsScreen::btnStampaClick);
    row->addStretch();
    add("btnGuida", QStringLiteral("Guida"), QStringLiteral("Apre la guida delle statistiche (F1)."),
        &StatisticsScreen::btnGuidaClick);
    auto* chiudi = screenButton(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), this);
    connect(chiudi, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(chiudi);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);

    // Reading order: the screen's own first, then the figures, the charts and the buttons.
    QWidget* order[] = {findChild<QWidget*>(QStringLiteral("btnAggiorna")),
                        figureButtons_[0],
                        figureButtons_[1],
                        figureButtons_[2],
                        figureButtons_[3],
                        lstGrafici_,
                        optGiochi_,
                        optValore_,
                        grfBarre_,
                        tblTabella_,
                        elenca,
                        findChild<QWidget*>(QStringLiteral("btnCopia")),
                        findChild<QWidget*>(QStringLiteral("btnSalvaCsv")),
                        findChild<QWidget*>(QStringLiteral("btnAnteprima")),
                        findChild<QWidget*>(QStringLiteral("btnStampa")),
                        findChild<QWidget*>(QStringLiteral("btnGuida")),
                        chiudi};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

bool StatisticsScreen::startReading()
{
    if (reading_)
        return true;
    auto reading = std::make_unique<StatisticsReading>(
        editor_.archiveFile(), photoFolder(), editor_.archiveName(), coverage_.covered,
        platform::Clocks::current().now().date().year(), [this] {
            QMetaObject::invokeMethod(this, &StatisticsScreen::readingFinished, Qt::QueuedConnection);
        });
    if (!reading->isOpened())
        return false;
    reading_ = std::move(reading);
    setReading(true);
    return true;
}

// While the archive is read: the wait cursor, and no control that works on figures still to come.
void StatisticsScreen::setReading(bool reading)
{
    if (reading)
        focusBeforeReading_ = QApplication::focusWidget();
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QString name = control->objectName();
        if (name == QLatin1String("btnChiudi") || name == QLatin1String("btnGuida") ||
            qobject_cast<QLabel*>(control))
            continue;
        control->setEnabled(!reading);
    }
    if (reading) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (!statistics_)
            lblLettura_->setText(QStringLiteral("Lettura dell'archivio in corso..."));
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void StatisticsScreen::readingFinished()
{
    if (!reading_ || !reading_->isFinished())
        return;
    std::unique_ptr<CollectionStatistics> read = reading_->result();
    reading_.reset();
    setReading(false);
    if (!read) {
        platform::error(this, archiveAccessErrorText());
        // Without figures there is nothing to show: no window is left half-drawn.
        if (!statistics_)
            reject();
        Q_EMIT readingDone();
        return;
    }
    const QPointer<QWidget> focus = focusBeforeReading_;
    statistics_ = std::move(read);
    readAt_ = platform::Clocks::current().now();
    const QFileInfo file(editor_.archiveFile());
    readLength_ = file.size();
    readModified_ = file.lastModified();
    lblCambiato_->hide();
    showStatistics();
    if (focus && focus->window() == this && focus->isEnabled())
        focus->setFocus(Qt::OtherFocusReason);
    else
        grfBarre_->setFocus(Qt::OtherFocusReason);
    Q_EMIT readingDone();
}

void StatisticsScreen::showStatistics()
{
    const QString covers = coverageText(coverage_, statistics_->figures().all.games);
    setWindowTitle(QStringLiteral(" Statistiche \u2014 ") + covers);
    QString coverage =
        QStringLiteral("Archivio \"") + editor_.archiveName() + QStringLiteral("\": ") + covers;
    if (!coverage_.isWholeArchive() && coverage_.listed >= 0 &&
        coverage_.listed != statistics_->figures().all.games)
        coverage += QStringLiteral(" (l'elenco ne mostrava %1: l'archivio \u00E8 cambiato dopo la ricerca)")
                        .arg(countText(coverage_.listed));
    lblCopertura_->setText(coverage);
    lblLettura_->setText(QStringLiteral("Dati letti il ") + platform::shortDate(readAt_.date()) +
                         QStringLiteral(" alle ") + platform::longTime(readAt_.time()));

    const std::vector<FigureLine> figures = figureLines(statistics_->figures());
    QStringList spoken;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        if (i < 4) {
            findChild<QLabel*>(QStringLiteral("lblCifra") + QLatin1String(FigureNames[i]))
                ->setText(figures[i].caption);
            figureValues_[i]->setText(figures[i].value);
        } else {
            figureButtons_[i - 4]->setText(figures[i].caption + QLatin1Char('\n') + figures[i].value);
            figureButtons_[i - 4]->setAccessibleName(figures[i].caption + QStringLiteral(": ") +
                                                     figures[i].value);
        }
        spoken.append(figures[i].caption + QStringLiteral(": ") + figures[i].value);
    }
    // What a screen reader says as the window opens.
    setAccessibleDescription(spoken.join(QStringLiteral("; ")) + QLatin1Char('.'));
    refreshChart(currentBar() >= 0 && std::size_t(currentBar()) < shown_.rows.size()
                     ? shown_.rows[std::size_t(currentBar())].group
                     : -1);
}

void StatisticsScreen::showChart(ChartId chart)
{
    const bool changed = shown_.chart != chart;
    shown_.chart = chart;
    if (lstGrafici_->currentRow() != int(chart))
        lstGrafici_->setCurrentRow(int(chart));
    // The most valuable are always measured by value.
    optGiochi_->setEnabled(chart != ChartId::MostValuable);
    optValore_->setEnabled(chart != ChartId::MostValuable);
    if (changed || shown_.rows.empty())
        refreshChart(-1);
}

void StatisticsScreen::setMeasure(Measure measure)
{
    if (measure_ == measure)
        return;
    measure_ = measure;
    (measure == Measure::Games ? optGiochi_ : optValore_)->setChecked(true);
    const int bar = currentBar();
    refreshChart(bar >= 0 && std::size_t(bar) < shown_.rows.size() ? shown_.rows[std::size_t(bar)].group
                                                                   : -1);
}

void StatisticsScreen::refreshChart(int keepGroup)
{
    if (!statistics_)
        return;
    const Measure measure = chartMeasure(shown_.chart, measure_);
    shown_.measure = measure;
    shown_.rows = chartRows(*statistics_, shown_.chart, measure);
    shown_.longest = 0;
    for (const TableRow& row : shown_.rows)
        shown_.longest = std::max(shown_.longest, measureOf(row.totals, measure));
    bars_->setChart(&shown_);
    table_->setChart(&shown_);

    const ChartInfo& info = chartInfo(shown_.chart);
    const QString caption = QString::fromUtf16(info.title) +
                            (measure == Measure::Games ? QStringLiteral(", per numero di giochi")
                                                       : QStringLiteral(", per valore di mercato"));
    lblGrafico_->setText(caption);
    grfBarre_->setAccessibleName(QStringLiteral("Grafico: ") + caption);
    tblTabella_->setAccessibleName(QStringLiteral("Tabella: ") + QString::fromUtf16(info.title));
    lblNota_->setVisible(!CollectionStatistics::groupsArePartition(shown_.chart));

    int bar = 0;
    for (std::size_t r = 0; r < shown_.rows.size(); ++r) {
        if (shown_.rows[r].group == keepGroup)
            bar = int(r);
    }
    if (!shown_.rows.empty())
        setCurrentBar(bar);
    grfBarre_->viewport()->update();
}

int StatisticsScreen::currentBar() const
{
    return grfBarre_->currentIndex().isValid() ? grfBarre_->currentIndex().row() : -1;
}

void StatisticsScreen::setCurrentBar(int row)
{
    const QModelIndex index = bars_->index(row);
    grfBarre_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    grfBarre_->scrollTo(index);
}

void StatisticsScreen::chartBarChanged()
{
    if (syncing_)
        return;
    syncing_ = true;
    const int row = currentBar();
    if (row >= 0) {
        const QModelIndex shown = sorter_->mapFromSource(table_->index(row, 0));
        tblTabella_->selectionModel()->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect |
                                                                  QItemSelectionModel::Rows);
        tblTabella_->scrollTo(shown);
    }
    syncing_ = false;
}

void StatisticsScreen::tableRowChanged()
{
    if (syncing_)
        return;
    syncing_ = true;
    const QModelIndex current = tblTabella_->currentIndex();
    if (current.isValid())
        setCurrentBar(sorter_->mapToSource(current).row());
    syncing_ = false;
}

void StatisticsScreen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // As large as the screen allows, up to a comfortable size; the user may resize it.
    if (const QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        resize(std::min(room.width() - 40, 1500), std::min(room.height() - 60, 900));
    }
    centreOnScreen(this);
    grfBarre_->setFocus(Qt::OtherFocusReason);
    watch_->start(WatchIntervalMs);
}

void StatisticsScreen::checkArchiveChanged()
{
    const QFileInfo file(editor_.archiveFile());
    if (file.size() != readLength_ || file.lastModified() != readModified_)
        lblCambiato_->show();
}

void StatisticsScreen::listBar(int row)
{
    if (row < 0 || std::size_t(row) >= shown_.rows.size())
        return;
    listSelection(Selection::ofGroup(shown_.chart, shown_.rows[std::size_t(row)].group));
}

void StatisticsScreen::listSubset(Subset subset)
{
    listSelection(Selection::ofSubset(subset));
}

void StatisticsScreen::listSelection(const Selection& selection)
{
    if (!statistics_)
        return;
    GroupListing listing;
    {
        WaitCursor wait;
        listing =
            statistics::listSelection(editor_.archiveFile(), *statistics_, selection, coverage_.covered);
    }
    switch (listing.status) {
    case ListingStatus::ArchiveUnreadable:
        platform::error(this, archiveAccessErrorText());
        return;
    case ListingStatus::ArchiveChanged:
        lblCambiato_->show();
        platform::warning(this, archiveChangedText());
        return;
    case ListingStatus::Listed:
        break;
    }
    auto* list =
        new GroupListScreen(editor_, statistics_->describe(selection), std::move(listing.lines), this);
    const int result = list->exec();
    delete list;
    // A game opened on the editor: the statistics make way for it.
    if (result == QDialog::Accepted) {
        recordOpened_ = true;
        accept();
    }
}

void StatisticsScreen::btnAggiornaClick()
{
    if (!startReading())
        platform::error(this, archiveAccessErrorText());
}

void StatisticsScreen::btnCopiaClick()
{
    if (!statistics_)
        return;
    auto* copied = new QMimeData;
    copied->setText(tableTabText(shown_.chart, shown_.measure, shown_.rows));
    copied->setData(QStringLiteral("text/csv"), tableCsv(shown_.chart, shown_.measure, shown_.rows));
    QGuiApplication::clipboard()->setMimeData(copied);
}

void StatisticsScreen::btnSalvaCsvClick()
{
    if (!statistics_)
        return;
    const QString path = platform::Dialogs::current().saveFile(
        this, {.title = QStringLiteral("Salva la tabella in un file CSV"),
               .filters = {QStringLiteral("File CSV (*.csv)")},
               .initialName = csvFileName(editor_.archiveName(), shown_.chart),
               .defaultExtension = QStringLiteral("csv"),
               .askBeforeReplacing = true});
    if (path.isEmpty())
        return;
    const QByteArray csv = tableCsv(shown_.chart, shown_.measure, shown_.rows);
    QSaveFile file(path);
    // commit() of this Qt version does not notice a failed final flush: check it here.
    const bool written = file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size() && file.flush();
    if (!written || !file.commit()) {
        if (written)
            file.cancelWriting();
        platform::warning(
            this, QStringLiteral("Attenzione: il file CSV non \u00E8 stato scritto.\n\n") +
                      QDir::toNativeSeparators(path) +
                      QStringLiteral("\n\nAccertarsi che la cartella esista, che vi si possa scrivere "
                                     "e che il disco non sia pieno."));
        return;
    }
    platform::information(this, QStringLiteral("La tabella \u00E8 stata salvata nel file CSV:\n\n") +
                                    QDir::toNativeSeparators(path));
}

namespace {

PageHeading headingOf(const RecordEditorAccess& editor, const QString& coverage, const QDateTime& readAt)
{
    return {editor.archiveName(), coverage, readAt, platform::Clocks::current().now()};
}

} // namespace

// The A4 page of the figures and the chart on show, laid out with the wait cursor; empty when the
// report engine failed, which it has then reported.
std::unique_ptr<report::Report> StatisticsScreen::preparedPage()
{
    if (!statistics_)
        return {};
    try {
        WaitCursor wait;
        auto page = std::make_unique<report::Report>(makeStatisticsPage(
            *statistics_, shown_.chart, measure_,
            headingOf(editor_, coverageText(coverage_, statistics_->figures().all.games), readAt_)));
        page->prepare();
        return page;
    } catch (const report::ReportError& failure) {
        platform::reportUnhandledFailure(this, failure.description());
        return {};
    }
}

void StatisticsScreen::btnAnteprimaClick()
{
    const std::unique_ptr<report::Report> page = preparedPage();
    if (!page)
        return;
    try {
        report::preview(*page, this);
    } catch (const report::ReportError& failure) {
        platform::reportUnhandledFailure(this, failure.description());
    }
}

void StatisticsScreen::btnStampaClick()
{
    const std::unique_ptr<report::Report> page = preparedPage();
    if (!page)
        return;
    try {
        report::print(*page, this);
    } catch (const report::ReportError& failure) {
        platform::reportUnhandledFailure(this, failure.description());
    }
}

void StatisticsScreen::btnGuidaClick()
{
    help::showHelp(this, help::HelpTopic::Statistics);
}

bool showStatistics(RecordEditorAccess& editor, QWidget* over, StatisticsCoverage coverage)
{
    auto* screen = new StatisticsScreen(editor, std::move(coverage), over);
    if (!screen->startReading()) {
        delete screen;
        platform::error(over, archiveAccessErrorText());
        return false;
    }
    screen->exec();
    const bool opened = screen->recordOpened();
    delete screen;
    return opened;
}

} // namespace brivanto::statistics
