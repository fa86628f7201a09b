#include "statistics/GroupListScreen.h"

#include "editor/RecordEditorAccess.h"
#include "output/ReportTemplates.h"
#include "output/SummaryPrint.h"
#include "platform/MessageBoxes.h"
#include "platform/ScreenKeys.h"
#include "report/ReportError.h"
#include "search/ListPanel.h"
#include "search/ResultList.h"
#include "shell/Screen.h"
#include "statistics/Money.h"
#include "statistics/StatisticsTable.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace brivanto::statistics {
namespace {
constexpr int TitleHeight = 62;
} // namespace

GroupListScreen::GroupListScreen(RecordEditorAccess& editor, const QString& what, ListLines lines,
                                 QWidget* parent)
    : QDialog(parent), editor_(editor), what_(what), frxReport_(makeSummaryReport())
{
    prepareScreen(this, QStringLiteral("TfrmGiochiGruppo"), QStringLiteral(" Statistiche \u2014 ") + what);
    makeFixedDialogWindow(this, 862, 560);
    setModal(true);

    panContainer_ = new ListPanel(TitleHeight, ListPanel::TabOrder::FindButtonFourth, this);
    const qsizetype count = lines.size();
    auto* title = new QLabel(what, panContainer_);
    title->setObjectName(QStringLiteral("lblGruppo"));
    title->setFont(QFont(QStringLiteral("Verdana"), 14, QFont::Bold));
    title->setStyleSheet(QStringLiteral("color: #1F4E8C;"));
    title->setGeometry(30, 10, 801, 28);
    auto* counted = new QLabel(gamesText(count) + QStringLiteral(" del gruppo"), panContainer_);
    counted->setObjectName(QStringLiteral("lblConta"));
    counted->setFont(QFont(QStringLiteral("Verdana"), 10));
    counted->setStyleSheet(QStringLiteral("color: #0F5E6B;"));
    counted->setGeometry(30, 40, 801, 20);

    panContainer_->list()->setAccessibleName(QStringLiteral("Giochi del gruppo ") + what);
    panContainer_->list()->setLines(std::move(lines));
    connect(panContainer_->closeButton(), &QPushButton::clicked, this, &GroupListScreen::btnChiudiClick);
    connect(panContainer_->printButton(), &QPushButton::clicked, this, &GroupListScreen::btnStampaClick);
    connect(panContainer_->list(), &ResultList::listDoubleClicked, this,
            &GroupListScreen::lstRecordsDblClick);
    platform::applyScreenKeys(this, {.escape = [this] { btnChiudiClick(); }});
}

const ListLines& GroupListScreen::listedLines() const
{
    return panContainer_->list()->lines();
}

void GroupListScreen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    centreOnScreen(this);
    panContainer_->startAfresh();
    // The list has the keyboard: the arrows choose a game and Enter opens it.
    panContainer_->list()->setFocus(Qt::OtherFocusReason);
}

void GroupListScreen::done(int result)
{
    panContainer_->list()->setLines({});
    QDialog::done(result);
}

void GroupListScreen::btnChiudiClick()
{
    reject();
}

void GroupListScreen::btnStampaClick()
{
    try {
        printSummary(frxReport_, QStringLiteral("Riepilogo giochi da tavolo \u2014 ") + what_, listedLines(),
                     this);
    } catch (const report::ReportError& failure) {
        platform::reportUnhandledFailure(this, failure.description());
    } catch (const std::bad_alloc&) {
        platform::reportUnhandledFailure(this, SummaryOutOfMemory);
    }
}

void GroupListScreen::lstRecordsDblClick()
{
    openListedRecord(this, editor_, *panContainer_->list(), true);
}

} // namespace brivanto::statistics
