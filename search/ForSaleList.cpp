#include "search/ForSaleList.h"

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
#include "search/WaitCursor.h"
#include "shell/Screen.h"
#include "storage/ArchiveFile.h"

#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace brivanto {
namespace {
constexpr int BannerHeight = 62;
} // namespace

ForSaleList::ForSaleList(RecordEditorAccess& editor, QWidget* parent, OpenListStatistics statistics)
    : QDialog(parent), editor_(editor), statistics_(std::move(statistics)), frxReport_(makeSummaryReport())
{
    prepareScreen(this, QStringLiteral("TfrmInVendita"),
                  QStringLiteral(" Riepilogo giochi da tavolo in vendita"));
    makeFixedDialogWindow(this, 862, 560);
    setModal(true);

    panContainer_ = new ListPanel(BannerHeight, ListPanel::TabOrder::FindButtonFourth, this);
    auto* banner = new platform::PictureBox(QStringLiteral("imgTitolo"),
                                            QStringLiteral(":/search/titolo_in_vendita.svg"), panContainer_);
    banner->move(30, 8);

    connect(panContainer_->closeButton(), &QPushButton::clicked, this, &ForSaleList::btnChiudiClick);
    connect(panContainer_->printButton(), &QPushButton::clicked, this, &ForSaleList::btnStampaClick);
    panContainer_->list()->setAccessibleName(QStringLiteral("Giochi da tavolo in vendita"));
    connect(panContainer_->list(), &ResultList::listDoubleClicked, this, &ForSaleList::lstRecordsDblClick);
    if (statistics_)
        connect(panContainer_->addStatisticsButton(), &QPushButton::clicked, this,
                &ForSaleList::btnStatisticheClick);
    platform::applyScreenKeys(this, {.escape = [this] { btnChiudiClick(); }});
}

const ListLines& ForSaleList::listedLines() const
{
    return panContainer_->list()->lines();
}

void ForSaleList::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Restoring a minimised window is not a new showing: the list stays as it is.
    if (event->spontaneous())
        return;
    centreOnScreen(this);
    buildList();
}

void ForSaleList::buildList()
{
    panContainer_->startAfresh();
    ListScan scan;
    {
        WaitCursor wait;
        scan = scanArchive(editor_.archiveFile(), listedForSale);
    }
    panContainer_->list()->setLines(std::move(scan.lines));
    panContainer_->findBox()->setFocus(Qt::OtherFocusReason);
    // A list the archive could not give whole must not pass for the whole list. The notice comes
    // once the screen is up, over the lines that could be read.
    if (scan.failed) {
        QMetaObject::invokeMethod(
            this, [this] { platform::plainNotice(this, archiveAccessErrorText()); }, Qt::QueuedConnection);
    }
}

void ForSaleList::done(int result)
{
    panContainer_->list()->setLines({});
    QDialog::done(result);
}

void ForSaleList::btnChiudiClick()
{
    reject();
}

void ForSaleList::btnStampaClick()
{
    try {
        printSummary(frxReport_, SummaryTitleForSale, listedLines(), this);
    } catch (const report::ReportError& failure) {
        platform::reportUnhandledFailure(this, failure.description());
    } catch (const std::bad_alloc&) {
        platform::reportUnhandledFailure(this, SummaryOutOfMemory);
    }
}

void ForSaleList::lstRecordsDblClick()
{
    // Every record with the line answers, for sale or not.
    openListedRecord(this, editor_, *panContainer_->list(), true);
}

void ForSaleList::btnStatisticheClick()
{
    const ListedGames games{listedForSale, QStringLiteral("gioco in vendita"),
                            QStringLiteral("giochi in vendita"), listedLines().size()};
    if (statistics_(this, games))
        accept();
}

void showForSale(RecordEditorAccess& editor, OpenListStatistics statistics)
{
    auto* summary = new ForSaleList(editor, editor.owner(), std::move(statistics));
    summary->exec();
    delete summary;
}

} // namespace brivanto
