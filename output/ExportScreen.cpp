#include "output/ExportScreen.h"

#include "editor/RecordEditorAccess.h"
#include "exchange/CsvCommands.h"
#include "help/Help.h"
#include "output/ExportGrid.h"
#include "output/ExportWriter.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureBox.h"
#include "platform/ScreenKeys.h"
#include "shell/DesktopOpen.h"
#include "shell/HintLine.h"
#include "shell/Screen.h"

#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTableView>

namespace brivanto {

using platform::PictureBox;
using platform::PictureButton;

namespace {
constexpr int ClientWidth = 862;
constexpr int ClientHeight = 560;
constexpr int BandHeight = 76;
constexpr QRect GridArea(20, 88, 821, 409);
constexpr int RowHeight = 21;

const QString FirstQuestion = QStringLiteral(
    "L'esportazione dei dati in Excel pu\u00F2 richiedere diversi minuti a seconda del numero di schede "
    "presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString SecondQuestion = QStringLiteral(
    "Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?");
const QString ExportFailed = QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                                            "Accertarsi che il file di Excel non sia gi\u00E0 aperto.");

struct TopButton
{
    const char* name;
    const char* picture;
    const char16_t* hint;
};
constexpr std::array<TopButton, 4> TopButtons{{
    {"cmdEsporta", ":/output/esporta.svg", u"Esporta l'archivio in formato Microsoft Excel."},
    {"cmdEsportaCsv", ":/output/esporta_csv.svg",
     u"Esporta l'archivio in un file CSV, che leggono i fogli di calcolo e gli altri programmi."},
    {"cmdGuida", ":/output/guida.svg", u"Visualizza la pagina della guida sensibile al contesto."},
    {"cmdEsci", ":/output/esci.svg", u"Esci da questo ambiente di lavoro."},
}};
} // namespace

// Knows the cell editor that is open, so that pressing Export takes in what is being typed: the
// picture buttons take no focus, so the editor would otherwise stay open with its text.
class ExportGridDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        open_ = QStyledItemDelegate::createEditor(parent, option, index);
        return open_;
    }
    void commitOpenEditor()
    {
        if (open_)
            Q_EMIT commitData(open_);
    }

private:
    mutable QPointer<QWidget> open_;
};

ExportScreen::ExportScreen(RecordEditorAccess& editor) : QDialog(editor.owner()), editor_(editor)
{
    prepareScreen(this, QStringLiteral("TfrmExpCartoline"),
                  QStringLiteral(" Esporta archivio giochi da tavolo in Excel"));
    makeFixedDialogWindow(this, ClientWidth, ClientHeight);
    setAutoFillBackground(true);
    setPalette(QPalette(QColor(0xFF, 0xF8, 0xEC)));

    panInfo_ = new QLabel(QStringLiteral("Esportazione archivio in Microsoft Excel."), this);
    panInfo_->setObjectName(QStringLiteral("panInfo"));
    panInfo_->setFont(QFont(QStringLiteral("Tahoma"), 11));
    panInfo_->setGeometry(GridArea.x(), GridArea.bottom() + 12, GridArea.width(), 32);
    panInfo_->setIndent(10);
    panInfo_->setStyleSheet(
        QStringLiteral("QLabel { background: #0F5E6B; color: #FFFFFF; border-radius: 6px; }"));

    buildTopBand();
    buildGrid();

    auto* hints = new HintLine(this, panInfo_);
    hints->watch(this, {});
    hints->watch(panInfo_, {});
    hints->watch(grdRecords_, {});
    hints->watch(grdRecords_->viewport(), {});
    hints->watch(findChild<QWidget*>(QStringLiteral("panTitolo")), {});
    for (const TopButton& button : TopButtons)
        hints->watch(findChild<QWidget*>(QLatin1String(button.name)), QString::fromUtf16(button.hint));
    grdRecords_->setAccessibleName(QStringLiteral("Schede dell'archivio da esportare"));
    platform::placePictureButtonsLast(this);
    platform::applyScreenKeys(this,
                              {.escape = [this] { cmdEsciClick(); }, .help = [this] { cmdGuidaClick(); }});
}

void ExportScreen::buildTopBand()
{
    auto* band = new QFrame(this);
    band->setObjectName(QStringLiteral("panTitolo"));
    band->setGeometry(0, 0, ClientWidth, BandHeight);
    band->setStyleSheet(
        QStringLiteral("QFrame#panTitolo { background: #FFFFFF; border-bottom: 3px solid #E8A33D; }"));

    auto* title = new PictureBox(QStringLiteral("imgTitolo"), QStringLiteral(":/output/titolo.svg"), band);
    title->move(GridArea.x(), (BandHeight - title->height()) / 2);
    int x = ClientWidth - GridArea.x();
    std::array<PictureButton*, TopButtons.size()> buttons{};
    for (std::size_t i = TopButtons.size(); i-- > 0;) {
        buttons[i] =
            new PictureButton(QLatin1String(TopButtons[i].name), QLatin1String(TopButtons[i].picture), band);
        x -= buttons[i]->width();
        buttons[i]->move(x, (BandHeight - buttons[i]->height()) / 2);
        x -= 10;
    }
    auto* hand = new PictureBox(QStringLiteral("imgMano"), QStringLiteral(":/output/mano.svg"), band);
    hand->move(x - 6 - hand->width(), (BandHeight - hand->height()) / 2);

    connect(buttons[0], &PictureButton::clicked, this, &ExportScreen::cmdEsportaClick);
    connect(buttons[1], &PictureButton::clicked, this, &ExportScreen::cmdEsportaCsvClick);
    connect(buttons[2], &PictureButton::clicked, this, &ExportScreen::cmdGuidaClick);
    connect(buttons[3], &PictureButton::clicked, this, &ExportScreen::cmdEsciClick);
}

void ExportScreen::buildGrid()
{
    model_ = new ExportGridModel(this);
    delegate_ = new ExportGridDelegate(this);
    grdRecords_ = new QTableView(this);
    grdRecords_->setObjectName(QStringLiteral("grdRecords"));
    grdRecords_->setGeometry(GridArea);
    grdRecords_->setModel(model_);
    grdRecords_->setItemDelegate(delegate_);
    grdRecords_->setAlternatingRowColors(true);
    grdRecords_->setWordWrap(false);
    grdRecords_->setSelectionMode(QAbstractItemView::SingleSelection);
    // The arrows move between cells. Tab leaves the grid: a grid's own Tab wraps from its last
    // cell to its first (Ctrl+Tab too), and the screen's buttons could not be reached.
    grdRecords_->setTabKeyNavigation(false);
    grdRecords_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);
    grdRecords_->setStyleSheet(QStringLiteral("QTableView { background: #FFFFFF; alternate-background-color: "
                                              "#EEF6F7; gridline-color: #C9D6DA; }"));
    // Every row has the same height and every column a fixed width: the view then lays out
    // 100,000 rows without measuring any of them.
    QHeaderView* rows = grdRecords_->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(RowHeight);
    rows->setDefaultSectionSize(RowHeight);
    QHeaderView* columns = grdRecords_->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setHighlightSections(false);
    for (int c = 0; c < ExportColumnCount; ++c)
        columns->resizeSection(c, ExportColumns[c].gridWidth);
}

void ExportScreen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Restoring a minimised window is not a new showing: the grid keeps what the user typed.
    if (event->spontaneous())
        return;
    centreOnScreen(this);
    FillGrid();
}

void ExportScreen::FillGrid()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    model_->fillFromArchive(editor_.archiveFile());
    QApplication::restoreOverrideCursor();
}

void ExportScreen::cmdEsportaClick()
{
    delegate_->commitOpenEditor();
    if (!platform::confirm(this, FirstQuestion))
        return;
    const QString path = exportFilePath();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = writeExportFile(path, *model_);
    QApplication::restoreOverrideCursor();
    if (!written) {
        platform::plainNotice(this, ExportFailed);
        return;
    }
    if (platform::confirm(this, SecondQuestion))
        openWithDesktop(QLatin1Char('"') + path + QLatin1Char('"'), this);
}

// The CSV file holds every record as stored: the changes typed into the grid are for the
// worksheet only.
void ExportScreen::cmdEsportaCsvClick()
{
    exportCsvChosenByUser(this, editor_.archiveFile(), editor_.archiveName());
}

void ExportScreen::cmdGuidaClick()
{
    help::showHelp(this, help::HelpTopic::Export);
}

void ExportScreen::cmdEsciClick()
{
    close();
}

void showExport(RecordEditorAccess& editor)
{
    QPointer<ExportScreen> screen = new ExportScreen(editor);
    screen->exec();
    delete screen.data();
}

} // namespace brivanto
