#include "search/ListPanel.h"

#include "editor/RecordEditorAccess.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureBox.h"
#include "platform/ScreenKeys.h"
#include "search/ArchiveScan.h"
#include "search/ResultList.h"
#include "search/WaitCursor.h"
#include "storage/ArchiveFile.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

namespace brivanto {
namespace {
constexpr int Left = 30;
constexpr int ListWidth = 801;
constexpr int Bottom = 560;
} // namespace

void openListedRecord(QDialog* screen, RecordEditorAccess& editor, const ResultList& list, bool writeEditor)
{
    const QString line = list.selectedLine();
    if (line.isNull()) {
        screen->reject();
        return;
    }
    // A record typed or changed on the editor is not dropped without a question; cancelling it
    // stays on the list.
    if (writeEditor && !editor.offerToSaveChanges())
        return;
    // The editor is written only once the whole archive has been read: a failure leaves it
    // showing what it showed before.
    AnsweringRecords answering;
    try {
        WaitCursor wait;
        answering = findAnsweringRecords(editor.archiveFile(), line);
    } catch (const ArchiveError&) {
        platform::plainNotice(screen, archiveAccessErrorText());
        screen->reject();
        return;
    }
    // Another workstation deleted or changed the listed game since the list was read: the list
    // stays, and the editor keeps what it shows.
    if (writeEditor && !answering.last) {
        platform::plainNotice(screen, listedRecordGoneText());
        return;
    }
    if (writeEditor)
        showAnsweringRecords(editor, answering);
    screen->accept();
}

QPushButton* screenButton(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setCursor(Qt::PointingHandCursor);
    button->setFont(QFont(QStringLiteral("Verdana"), 10, QFont::Bold));
    button->setStyleSheet(
        QStringLiteral("QPushButton { background: #1A7A89; color: #FFFFFF; border: 1px solid #0F5E6B;"
                       " border-radius: 8px; padding: 4px 14px; }"
                       "QPushButton:hover { background: #2A8C9B; }"
                       "QPushButton:pressed { background: #0F5E6B; }"
                       "QPushButton:focus { border: 2px solid #E8A33D; }"));
    return button;
}

ListPanel::ListPanel(int top, TabOrder order, QWidget* screen) : QWidget(screen)
{
    setObjectName(QStringLiteral("panContainer"));
    setGeometry(0, 0, 862, Bottom);

    auto* istruzioni = new platform::PictureBox(QStringLiteral("imgIstruzioniTrova"),
                                                QStringLiteral(":/search/istruzioni_trova.svg"), this);
    istruzioni->move(Left, top + 12);
    istruzioni->setAccessibleName(QStringLiteral("Come trovare una voce"));
    istruzioni->setAccessibleDescription(QStringLiteral(
        "Digitare nella casella una o pi\u00F9 parole consecutive della voce cercata e premere Trova. "
        "Premere di nuovo Trova per passare alla voce successiva che contiene le stesse parole."));

    txtTrova_ = new QLineEdit(this);
    txtTrova_->setObjectName(QStringLiteral("txtTrova"));
    txtTrova_->setFont(QFont(QStringLiteral("Verdana"), 11));
    txtTrova_->setGeometry(Left, top + 76, 680, 30);
    txtTrova_->installEventFilter(this);
    txtTrova_->setAccessibleName(QStringLiteral("Parole della voce da trovare"));
    btnTrova_ = screenButton(QStringLiteral("btnTrova"), QStringLiteral("Trova"), this);
    btnTrova_->setGeometry(Left + ListWidth - 110, top + 76, 110, 30);

    lstRecords_ = new ResultList(this);
    lstRecords_->setGeometry(Left, top + 116, ListWidth, 340 - top);
    lstRecords_->setAccessibleName(QStringLiteral("Giochi da tavolo trovati"));

    auto* doppioClic =
        new QLabel(QStringLiteral("Fare doppio clic sulla voce in elenco per richiamare la scheda"), this);
    doppioClic->setObjectName(QStringLiteral("lblDoppioClic"));
    doppioClic->setFont(QFont(QStringLiteral("Verdana"), 9, -1, true));
    doppioClic->setGeometry(Left, 462, ListWidth, 20);

    btnChiudi_ = screenButton(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), this);
    btnChiudi_->setGeometry(Left + ListWidth - 110, 512, 110, 34);
    btnStampa_ = screenButton(QStringLiteral("btnStampa"), QStringLiteral("Stampa"), this);
    btnStampa_->setGeometry(Left + ListWidth - 230, 512, 110, 34);

    if (order == TabOrder::FindButtonSecond) {
        setTabOrder(txtTrova_, btnTrova_);
        setTabOrder(btnTrova_, lstRecords_);
        setTabOrder(lstRecords_, btnStampa_);
    } else {
        setTabOrder(txtTrova_, lstRecords_);
        setTabOrder(lstRecords_, btnStampa_);
        setTabOrder(btnStampa_, btnTrova_);
    }
    setTabOrder(order == TabOrder::FindButtonSecond ? btnStampa_ : btnTrova_, btnChiudi_);

    connect(btnTrova_, &QPushButton::clicked, this, &ListPanel::btnTrovaClick);
}

QPushButton* ListPanel::addStatisticsButton()
{
    if (btnStatistiche_)
        return btnStatistiche_;
    btnStatistiche_ = screenButton(QStringLiteral("btnStatistiche"), QStringLiteral("Statistiche"), this);
    btnStatistiche_->setGeometry(Left + ListWidth - 360, 512, 120, 34);
    btnStatistiche_->setAccessibleDescription(QStringLiteral(
        "Statistiche dei soli giochi dell'elenco: valore, generi, giochi in vendita. Scorciatoia: Ctrl+T"));
    btnStatistiche_->show();
    setTabOrder(lstRecords_, btnStatistiche_);
    setTabOrder(btnStatistiche_, btnStampa_);
    auto* key = new QShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_T), this);
    key->setContext(Qt::WindowShortcut);
    key->setAutoRepeat(false);
    connect(key, &QShortcut::activated, this, [this] {
        if (btnStatistiche_->isVisible() && btnStatistiche_->isEnabled())
            btnStatistiche_->click();
    });
    return btnStatistiche_;
}

void ListPanel::startAfresh()
{
    txtTrova_->clear();
    lstRecords_->forgetLastKey();
}

void ListPanel::btnTrovaClick()
{
    if (!lstRecords_->find(txtTrova_->text()))
        platform::plainNotice(window(),
                              QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
}

bool ListPanel::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the find box moves to "Trova", so that a second Enter presses it.
    if (watched == txtTrova_ && event->type() == QEvent::KeyPress) {
        if (platform::isPlainEnter(static_cast<QKeyEvent*>(event))) {
            btnTrova_->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace brivanto
