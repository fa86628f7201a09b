#pragma once

#include "statistics/CollectionStatistics.h"
#include "statistics/StatisticsModels.h"
#include "statistics/StatisticsReading.h"

#include <QDateTime>
#include <QDialog>
#include <QPointer>

#include <array>
#include <memory>

class QButtonGroup;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableView;

namespace brivanto {
class RecordEditorAccess;
namespace report {
class Report;
}
namespace platform {
class RepeatingTimer;
}
} // namespace brivanto

namespace brivanto::statistics {

class BarChartView;

// Which games the statistics cover: the whole archive, or the games of the list they were opened
// from, told by the test that made that list.
struct StatisticsCoverage
{
    RecordTest covered;    // empty: every record of the archive
    QString one;           // "gioco trovato", "gioco in vendita": the list's game, in words
    QString many;          // "giochi trovati", "giochi in vendita"
    qsizetype listed = -1; // the number of the list's lines; -1 for the whole archive

    static StatisticsCoverage wholeArchive() { return {}; }
    bool isWholeArchive() const { return !covered; }
};

// The statistics screen: how many games, worth how much, of what kinds, in what condition, what is
// for sale and for how much; each chart a picture and a table, both of which list the games of a
// group. Opened from the record editor for the whole archive, and from the search and for-sale
// lists for the games listed.
class StatisticsScreen : public QDialog
{
    Q_OBJECT
public:
    StatisticsScreen(RecordEditorAccess& editor, StatisticsCoverage coverage, QWidget* parent);
    ~StatisticsScreen() override;

    // Opens the archive and starts reading it on threads of their own, so that the screen can show
    // and the event loop run meanwhile; the screen waits under the wait cursor, its controls
    // disabled, until the figures are there. False, with nothing started and the screen as it was,
    // when the archive cannot be opened. A failure while reading says so, then closes a screen that
    // has no figures yet or keeps the figures it had.
    bool startReading();
    bool isReading() const { return reading_ != nullptr; }
    // Whether a game listed from here was opened on the editor (the screen has then closed).
    bool recordOpened() const { return recordOpened_; }

    const CollectionStatistics* statistics() const { return statistics_.get(); }
    const ShownChart& shownChart() const { return shown_; }
    ChartId chart() const { return shown_.chart; }
    Measure measure() const { return measure_; }
    void showChart(ChartId chart);
    void setMeasure(Measure measure);
    // The bar that has the focus, by its row in the chart.
    int currentBar() const;
    void setCurrentBar(int row);

    // Lists the games of a bar (its row in the chart) or of a figure.
    void listBar(int row);
    void listSubset(Subset subset);
    // Whether the archive file changed since it was read; the screen then says so.
    void checkArchiveChanged();

Q_SIGNALS:
    // The archive has been read (or could not be read) and the screen shows the outcome.
    void readingDone();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildHeader();
    void buildFigures();
    void buildCharts();
    void buildButtons();
    void showStatistics();
    void readingFinished();
    void setReading(bool reading);
    void refreshChart(int keepGroup);
    void listSelection(const Selection& selection);
    void chartBarChanged();
    void tableRowChanged();

    void btnAggiornaClick();
    void btnCopiaClick();
    void btnSalvaCsvClick();
    std::unique_ptr<report::Report> preparedPage();
    void btnAnteprimaClick();
    void btnStampaClick();
    void btnGuidaClick();

    RecordEditorAccess& editor_;
    StatisticsCoverage coverage_;
    std::unique_ptr<StatisticsReading> reading_;
    std::unique_ptr<CollectionStatistics> statistics_;
    QDateTime readAt_;
    // The archive file as it was when read: its length and the time of its last change.
    qint64 readLength_ = -1;
    QDateTime readModified_;
    Measure measure_ = Measure::Games;
    ShownChart shown_;
    bool recordOpened_ = false;
    QPointer<QWidget> focusBeforeReading_;
    bool syncing_ = false;

    QLabel* lblCopertura_ = nullptr;
    QLabel* lblLettura_ = nullptr;
    QLabel* lblCambiato_ = nullptr;
    std::array<QLabel*, 4> figureValues_{};
    std::array<QPushButton*, 4> figureButtons_{};
    QListWidget* lstGrafici_ = nullptr;
    QRadioButton* optGiochi_ = nullptr;
    QRadioButton* optValore_ = nullptr;
    QButtonGroup* measures_ = nullptr;
    QLabel* lblGrafico_ = nullptr;
    QLabel* lblNota_ = nullptr;
    BarChartView* grfBarre_ = nullptr;
    BarModel* bars_ = nullptr;
    QTableView* tblTabella_ = nullptr;
    TableModel* table_ = nullptr;
    TableSorter* sorter_ = nullptr;
    std::unique_ptr<platform::RepeatingTimer> watch_;
};

// What the title says the screen covers: "tutto l'archivio", "42 giochi trovati".
QString coverageText(const StatisticsCoverage& coverage, std::int64_t games);

// Opens the archive and a fresh statistics screen over `over`, modally, which fills in as soon as
// the archive has been read, and discards it when it closes; an archive that cannot be opened
// shows the access error and no screen. True when a game listed from it was opened on the editor,
// so that a list screen beneath closes too.
bool showStatistics(RecordEditorAccess& editor, QWidget* over, StatisticsCoverage coverage);

} // namespace brivanto::statistics
