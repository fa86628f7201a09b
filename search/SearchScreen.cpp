#include "search/SearchScreen.h"

#include "access/FocusHighlight.h"
#include "editor/RecordEditorAccess.h"
#include "output/ReportTemplates.h"
#include "output/SummaryPrint.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureBox.h"
#include "platform/ScreenKeys.h"
#include "report/ReportError.h"
#include "search/ArchiveScan.h"
#include "search/ListPanel.h"
#include "search/RecordMatch.h"
#include "search/ResultList.h"
#include "search/SearchFilters.h"
#include "search/WaitCursor.h"
#include "shell/Screen.h"
#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brivanto {
namespace {
constexpr int ClientWidth = 862;
constexpr int ClientHeight = 560;
constexpr int FiltersTop = 112;
constexpr int RowPitch = 64;
constexpr std::array<int, 2> ColumnX{30, 442};
constexpr int FilterWidth = 390;
const QString OpenedByEditor = QStringLiteral("cartoline");
} // namespace

SearchScreen::SearchScreen(RecordEditorAccess& editor, QWidget* parent, OpenListStatistics statistics)
    : QDialog(parent), editor_(editor), statistics_(std::move(statistics)), frxReport_(makeSummaryReport())
{
    prepareScreen(this, QStringLiteral("TfrmTrovaCartoline"),
                  QStringLiteral(" Trova giochi da tavolo in archivio"));
    makeFixedDialogWindow(this, ClientWidth, ClientHeight);
    setModal(true);

    buildFilterPanel();
    panContainer_ = new ListPanel(0, ListPanel::TabOrder::FindButtonSecond, this);
    panContainer_->hide();
    lblTrovate_ = new QLabel(panContainer_);
    lblTrovate_->setObjectName(QStringLiteral("lblTrovate"));
    lblTrovate_->setFont(QFont(QStringLiteral("Verdana"), 11, QFont::Bold));
    lblTrovate_->setStyleSheet(QStringLiteral("color: #0F5E6B;"));
    lblTrovate_->setGeometry(30, 486, 560, 22);

    lblConta_ = hiddenLabel(QStringLiteral("lblConta"), this);
    callerTag_ = hiddenLabel(QStringLiteral("lblMemory"), this);

    connect(panContainer_->closeButton(), &QPushButton::clicked, this, &SearchScreen::btnChiudiClick);
    connect(panContainer_->printButton(), &QPushButton::clicked, this, &SearchScreen::btnStampaClick);
    connect(panContainer_->list(), &ResultList::listDoubleClicked, this, &SearchScreen::lstRecordsDblClick);
    if (statistics_)
        connect(panContainer_->addStatisticsButton(), &QPushButton::clicked, this,
                &SearchScreen::btnStatisticheClick);
    // Escape is the "Chiudi" of the panel on view.
    platform::applyScreenKeys(this, {.escape = [this] {
                                  if (panAvvio_->isVisible())
                                      btnAnnullaClick();
                                  else
                                      btnChiudiClick();
                              }});
}

void SearchScreen::buildFilterPanel()
{
    panAvvio_ = new QWidget(this);
    panAvvio_->setObjectName(QStringLiteral("panAvvio"));
    panAvvio_->setGeometry(0, 0, ClientWidth, ClientHeight);

    auto* istruzioni = new platform::PictureBox(QStringLiteral("imgIstruzioniCerca"),
                                                QStringLiteral(":/search/istruzioni_cerca.svg"), panAvvio_);
    istruzioni->move(ColumnX[0], 12);
    istruzioni->setAccessibleName(QStringLiteral("Ricerca delle schede in archivio"));
    istruzioni->setAccessibleDescription(QStringLiteral(
        "Digitare nei campi scelti una o pi\u00F9 parole consecutive contenute nelle schede "
        "cercate. Lasciare vuoti tutti gli altri campi: si possono usare pi\u00F9 campi in una "
        "sola ricerca."));

    const QFont labelFont(QStringLiteral("Verdana"), 9);
    const QFont editFont(QStringLiteral("Verdana"), 11);
    for (std::size_t i = 0; i < SearchFilterBoxes.size(); ++i) {
        const SearchFilterBox& box = SearchFilterBoxes[i];
        const int x = ColumnX[static_cast<std::size_t>(box.column)];
        const int y = FiltersTop + box.row * RowPitch;
        auto* label = new QLabel(QString::fromUtf16(box.label), panAvvio_);
        label->setObjectName(QStringLiteral("lbl") + QLatin1String(box.objectName + 3));
        label->setFont(labelFont);
        label->setGeometry(x, y, FilterWidth, 18);
        auto* edit = new QLineEdit(panAvvio_);
        edit->setObjectName(QLatin1String(box.objectName));
        edit->setFont(editFont);
        edit->setGeometry(x, y + 22, FilterWidth, 30);
        edit->installEventFilter(this);
        label->setBuddy(edit); // the label names its filter
        new FocusHighlight(QLatin1String(box.highlight), edit, panAvvio_);
        if (i > 0)
            setTabOrder(filters_[i - 1], edit);
        filters_[i] = edit;
    }

    lblAttendere_ = new QLabel(QStringLiteral("Ricerca schede in corso. Attendere..."), panAvvio_);
    lblAttendere_->setObjectName(QStringLiteral("lblAttendere"));
    lblAttendere_->setFont(QFont(QStringLiteral("Verdana"), 12, QFont::Bold));
    lblAttendere_->setStyleSheet(QStringLiteral("color: #C98523;"));
    lblAttendere_->setAlignment(Qt::AlignCenter);
    lblAttendere_->setGeometry(ColumnX[0], 448, ColumnX[1] + FilterWidth - ColumnX[0], 30);
    lblAttendere_->hide();

    auto* annulla = screenButton(QStringLiteral("btnAnnulla"), QStringLiteral("Chiudi"), panAvvio_);
    annulla->setGeometry(ColumnX[1] + FilterWidth - 230, 500, 110, 34);
    auto* cerca = screenButton(QStringLiteral("btnCerca"), QStringLiteral("Cerca"), panAvvio_);
    cerca->setGeometry(ColumnX[1] + FilterWidth - 110, 500, 110, 34);
    setTabOrder(filters_.back(), annulla);
    setTabOrder(annulla, cerca);

    connect(cerca, &QPushButton::pressed, this, &SearchScreen::btnCercaMouseDown);
    connect(cerca, &QPushButton::clicked, this, &SearchScreen::btnCercaClick);
    connect(annulla, &QPushButton::clicked, this, &SearchScreen::btnAnnullaClick);
}

void SearchScreen::setCallerTag(const QString& tag)
{
    callerTag_->setText(tag);
}

const ListLines& SearchScreen::listedLines() const
{
    return panContainer_->list()->lines();
}

void SearchScreen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Restoring a minimised window is not a new showing: the filters and the list stay.
    if (event->spontaneous())
        return;
    centreOnScreen(this);
    panContainer_->startAfresh();
    filters_.front()->setFocus(Qt::OtherFocusReason);
}

bool SearchScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto found = std::find(filters_.begin(), filters_.end(), watched);
        if (found != filters_.end() && platform::isPlainEnter(static_cast<QKeyEvent*>(event))) {
            const auto next = static_cast<std::size_t>(found - filters_.begin() + 1) % filters_.size();
            filters_[next]->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SearchScreen::done(int result)
{
    panContainer_->list()->setLines({});
    lblAttendere_->hide();
    QDialog::done(result);
}

// Shown as the button goes down, so that it is on screen while the archive is read.
void SearchScreen::btnCercaMouseDown()
{
    lblAttendere_->show();
    lblAttendere_->repaint();
}

void SearchScreen::btnCercaClick()
{
    std::vector<FilterText> texts;
    for (std::size_t i = 0; i < filters_.size(); ++i)
        texts.push_back({SearchFilterBoxes[i].recordField, filters_[i]->text()});
    const RecordFilter filter(texts);
    lastFilter_ = filter;
    lblConta_->setText(QString::number(filter.givenCount()));

    ListScan scan;
    {
        WaitCursor wait;
        scan =
            scanArchive(editor_.archiveFile(), [&filter](const GameRecord& r) { return filter.matches(r); });
    }
    // A failed search lists nothing: the wait text stays, and the user may try again or close.
    if (scan.failed) {
        platform::plainNotice(this, archiveAccessErrorText());
        return;
    }
    const auto count = scan.lines.size();
    panContainer_->list()->setLines(std::move(scan.lines));
    lblTrovate_->setText(QStringLiteral("Il presente riepilogo contiene %1 schede.").arg(count));
    panContainer_->show();
    panAvvio_->hide();
    panContainer_->findBox()->clear();
    panContainer_->findBox()->setFocus(Qt::OtherFocusReason);
}

void SearchScreen::btnAnnullaClick()
{
    reject();
}

void SearchScreen::btnChiudiClick()
{
    reject();
}

void SearchScreen::btnStampaClick()
{
    try {
        printSummary(frxReport_, SummaryTitleArchive, listedLines(), this);
    } catch (const report::ReportError& failure) {
        platform::reportUnhandledFailure(this, failure.description());
    } catch (const std::bad_alloc&) {
        platform::reportUnhandledFailure(this, SummaryOutOfMemory);
    }
}

void SearchScreen::lstRecordsDblClick()
{
    openListedRecord(this, editor_, *panContainer_->list(), trimmed(callerTag_->text()) == OpenedByEditor);
}

void SearchScreen::btnStatisticheClick()
{
    const ListedGames games{
        [filter = lastFilter_](const GameRecord& record) { return filter.matches(record); },
        QStringLiteral("gioco trovato"), QStringLiteral("giochi trovati"), listedLines().size()};
    // A game opened on the editor from the statistics closes the search, as its own double-click does.
    if (statistics_(this, games))
        accept();
}

void showSearch(RecordEditorAccess& editor, const QString& callerTag, OpenListStatistics statistics)
{
    auto* search = new SearchScreen(editor, editor.owner(), std::move(statistics));
    search->setCallerTag(callerTag);
    search->exec();
    delete search;
}

} // namespace brivanto
