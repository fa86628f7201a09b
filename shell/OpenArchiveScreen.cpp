#include "shell/OpenArchiveScreen.h"

#include "help/Help.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureBox.h"
#include "platform/ScreenKeys.h"
#include "shell/Screen.h"
#include "storage/ArchiveFolder.h"
#include "storage/FieldText.h"
#include "storage/ProgramFolder.h"

#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

namespace brivanto {

using platform::PictureBox;
using platform::PictureButton;

namespace {
constexpr int PanelWidth = 760;
constexpr int PanelHeight = 680;
const QString ReturnToLauncher = QStringLiteral("avvio");
const QString ReturnToEditor = QStringLiteral("cartoline");
} // namespace

OpenArchiveScreen::OpenArchiveScreen(QWidget* parent) : QWidget(parent)
{
    prepareScreen(this, QStringLiteral("TfrmApriCatalogo"),
                  QStringLiteral(" Brivanto - Apertura archivio giochi da tavolo"));
    QWidget* panel = addCentredPanel(this, PanelWidth, PanelHeight);

    auto* guida =
        new PictureButton(QStringLiteral("imgGuida"), QStringLiteral(":/launcher/guida.svg"), panel);
    guida->move(PanelWidth - guida->width() - 8, 8);
    auto* istruzioni = new PictureBox(QStringLiteral("icoIstruzioni"),
                                      QStringLiteral(":/archives/istruzioni_apri.svg"), panel);
    istruzioni->move((PanelWidth - istruzioni->width()) / 2, 40);
    istruzioni->setAccessibleName(QStringLiteral("Apertura di un archivio esistente"));
    istruzioni->setAccessibleDescription(QStringLiteral(
        "1. Selezionare un archivio nell'elenco e premere Apri archivio. 2. Fare clic sul cestino per "
        "eliminare l'archivio selezionato. 3. Premere Annulla per uscire senza aprire alcun archivio."));
    auto* mano = new PictureBox(QStringLiteral("icoMano"), QStringLiteral(":/archives/mano.svg"), panel);
    mano->move(40, 230);
    auto* icona04 =
        new PictureBox(QStringLiteral("icoIcona04"), QStringLiteral(":/archives/icona04.svg"), panel);
    icona04->move(PanelWidth - icona04->width() - 20, 480);
    auto* elimina =
        new PictureButton(QStringLiteral("btnElimina"), QStringLiteral(":/archives/cestino.svg"), panel);
    elimina->move(PanelWidth - elimina->width() - 40, 230);

    lstFiles_ = new QListWidget(panel);
    lstFiles_->setObjectName(QStringLiteral("lstFiles"));
    lstFiles_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstFiles_->setGeometry(120, 210, PanelWidth - 240, 300);
    // The list follows the desktop's convention: the line the arrows, Home, End or a typed
    // letter move to is the selected one, and Enter or a double-click opens it.
    connect(lstFiles_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstFiles_->item(row)->setSelected(true);
    });
    connect(lstFiles_, &QListWidget::itemDoubleClicked, this, &OpenArchiveScreen::btnApriClick);
    lstFiles_->installEventFilter(this);

    lblCreati_ = new QLabel(QStringLiteral("Sono stati creati 0 archivi di giochi da tavolo."), panel);
    lblCreati_->setObjectName(QStringLiteral("lblCreati"));
    lblCreati_->setFont(QFont(QStringLiteral("Verdana"), 12));
    lblCreati_->setStyleSheet(QStringLiteral("color: #008000;"));
    lblCreati_->setGeometry(120, 516, PanelWidth - 240, 28);

    auto* apri = new PictureButton(QStringLiteral("btnApri"), QStringLiteral(":/archives/apri.svg"), panel);
    apri->move(PanelWidth / 2 - apri->width() - 20, 570);
    auto* annulla =
        new PictureButton(QStringLiteral("btnAnnulla"), QStringLiteral(":/archives/annulla.svg"), panel);
    annulla->move(PanelWidth / 2 + 20, 570);

    callerTag_ = new QLabel(ReturnToLauncher, panel);
    callerTag_->setObjectName(QStringLiteral("lblMemory"));
    callerTag_->hide();
    lblFile_ = new QLabel(panel);
    lblFile_->setObjectName(QStringLiteral("lblFile"));
    lblFile_->hide();

    guida->setAccessibleName(QStringLiteral("Guida"));
    elimina->setAccessibleName(QStringLiteral("Elimina l'archivio selezionato"));
    apri->setAccessibleName(QStringLiteral("Apri archivio"));
    annulla->setAccessibleName(QStringLiteral("Annulla"));
    lstFiles_->setAccessibleName(QStringLiteral("Archivi di giochi da tavolo"));
    platform::placePictureButtonsLast(this);

    connect(apri, &PictureButton::clicked, this, &OpenArchiveScreen::btnApriClick);
    connect(elimina, &PictureButton::clicked, this, &OpenArchiveScreen::btnEliminaClick);
    connect(annulla, &PictureButton::clicked, this, &OpenArchiveScreen::btnAnnullaClick);
    connect(guida, &PictureButton::clicked, this, &OpenArchiveScreen::imgGuidaClick);
    platform::applyScreenKeys(this,
                              {.escape = [this] { btnAnnullaClick(); }, .help = [this] { imgGuidaClick(); }});
}

bool OpenArchiveScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstFiles_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (platform::isPlainEnter(key)) {
            if (!key->isAutoRepeat() && !lstFiles_->selectedItems().isEmpty())
                btnApriClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void OpenArchiveScreen::ListArchives()
{
    lstFiles_->clear();
    const QFont entryFont(QStringLiteral("Courier New"), 14);
    const QStringList entries = listArchiveFiles(ProgramFolder());
    for (const QString& entry : entries) {
        auto* item = new QListWidgetItem(entry, lstFiles_);
        item->setFont(entryFont);
        item->setForeground(Qt::black);
    }
    lstFiles_->setCurrentRow(-1);
    lstFiles_->clearSelection();
    lblCreati_->setText(
        QStringLiteral("Sono stati creati %1 archivi di giochi da tavolo.").arg(lstFiles_->count()));
}

void OpenArchiveScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Coming back from the taskbar keeps the selection and the return screen.
    if (event->spontaneous())
        return;
    callerTag_->setText(ReturnToLauncher);
    ListArchives();
    // The first archive is ready to be opened with Enter.
    if (lstFiles_->count() > 0)
        lstFiles_->setCurrentRow(0);
}

void OpenArchiveScreen::btnApriClick()
{
    if (lstFiles_->count() == 0) {
        platform::warning(this, QStringLiteral("Attenzione: l'elenco non contiene nessun archivio."));
        return;
    }
    if (lstFiles_->selectedItems().isEmpty()) {
        platform::warning(this,
                          QStringLiteral("Attenzione: selezionare l'archivio di giochi da tavolo dall'elenco "
                                         "prima di premere il pulsante Apri archivio."));
        return;
    }
    callerTag_->setText(ReturnToEditor);
    close();
}

void OpenArchiveScreen::btnEliminaClick()
{
    if (lstFiles_->count() == 0) {
        platform::warning(
            this, QStringLiteral("Attenzione: l'elenco non contiene nessun archivio di giochi da tavolo."));
        return;
    }
    const QList<QListWidgetItem*> selected = lstFiles_->selectedItems();
    if (selected.isEmpty()) {
        platform::warning(this,
                          QStringLiteral("Attenzione: selezionare dall'elenco l'archivio da eliminare prima "
                                         "di premere il pulsante del cestino."));
        return;
    }
    if (!platform::confirm(this,
                           QStringLiteral("Si sta per eliminare l'archivio di giochi da tavolo selezionato. "
                                          "Si ricorda che il file eliminato non potr\u00E0 essere "
                                          "recuperato.\r\n\r\nSi conferma l'eliminazione dell'archivio?")))
        return;

    // The entry is a name from the folder listing, blanks and all: trimming it would name
    // another archive.
    lblFile_->setText(ProgramFolder() + selected.constFirst()->text());
    QFile file(lblFile_->text());
    if (file.remove()) {
        platform::information(
            this, QStringLiteral("L'archivio di giochi da tavolo \u00E8 stato eliminato con successo."));
    } else {
        platform::warning(this,
                          QStringLiteral("Attenzione: non \u00E8 stato possibile eliminare l'archivio di "
                                         "giochi da tavolo selezionato.\r\n\r\nAccertarsi che il file non "
                                         "sia in uso e di possedere i privilegi di scrittura nella cartella "
                                         "di installazione del programma."));
    }
    callerTag_->setText(ReturnToLauncher);
    lblFile_->clear();
    ListArchives();
}

void OpenArchiveScreen::btnAnnullaClick()
{
    close();
}

void OpenArchiveScreen::imgGuidaClick()
{
    help::showHelp(this, help::HelpTopic::Archives);
}

void OpenArchiveScreen::closeEvent(QCloseEvent* event)
{
    event->accept();
    const QList<QListWidgetItem*> selected = lstFiles_->selectedItems();
    if (trimmed(callerTag_->text()) == ReturnToEditor && !selected.isEmpty()) {
        const QString entry = selected.constFirst()->text(); // as listed, blanks and all
        Q_EMIT archiveChosen(ProgramFolder() + entry, archiveNameOfEntry(entry));
    } else {
        Q_EMIT closedToLauncher();
    }
}

} // namespace brivanto
