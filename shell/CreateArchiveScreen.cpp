#include "shell/CreateArchiveScreen.h"

#include "help/Help.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureBox.h"
#include "platform/ScreenKeys.h"
#include "shell/Screen.h"
#include "storage/ArchiveFolder.h"
#include "storage/FieldText.h"
#include "storage/ProgramFolder.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <cerrno>

namespace brivanto {

using platform::PictureBox;
using platform::PictureButton;

namespace {
constexpr int PanelWidth = 760;
constexpr int PanelHeight = 560;
constexpr QStringView Refused = u"\"*/:<>?\\\u00B0\u00C7\u00D1\u00E7\u00F1";
} // namespace

CreateArchiveScreen::CreateArchiveScreen(QWidget* parent) : QWidget(parent)
{
    prepareScreen(this, QStringLiteral("TfrmCreaCatalogo"),
                  QStringLiteral(" Brivanto - Creazione archivio giochi da tavolo"));
    QWidget* panel = addCentredPanel(this, PanelWidth, PanelHeight);

    auto* guida =
        new PictureButton(QStringLiteral("imgGuida"), QStringLiteral(":/launcher/guida.svg"), panel);
    guida->move(PanelWidth - guida->width() - 8, 8);
    auto* istruzioni = new PictureBox(QStringLiteral("icoIstruzioni"),
                                      QStringLiteral(":/archives/istruzioni_crea.svg"), panel);
    istruzioni->move((PanelWidth - istruzioni->width()) / 2, 64);
    istruzioni->setAccessibleName(QStringLiteral("Creazione di un nuovo archivio"));
    istruzioni->setAccessibleDescription(QStringLiteral(
        "1. Digitare il nome del nuovo archivio e premere Applica e chiudi. 2. Il nuovo archivio "
        "comparir\u00E0 nell'elenco di Apri archivio esistente. 3. Premere Annulla per uscire senza creare "
        "nulla."));
    auto* icona02 =
        new PictureBox(QStringLiteral("icoIcona02"), QStringLiteral(":/archives/icona02.svg"), panel);
    icona02->move(20, 250);
    auto* icona04 =
        new PictureBox(QStringLiteral("icoIcona04"), QStringLiteral(":/archives/icona04.svg"), panel);
    icona04->move(PanelWidth - icona04->width() - 20, 250);
    auto* mano = new PictureBox(QStringLiteral("icoMano"), QStringLiteral(":/archives/mano.svg"), panel);
    mano->move((PanelWidth - mano->width()) / 2, 236);

    txtFile_ = new QLineEdit(panel);
    txtFile_->setObjectName(QStringLiteral("txtFile"));
    txtFile_->setFont(QFont(QStringLiteral("Verdana"), 16, QFont::Bold));
    txtFile_->setMaxLength(250);
    txtFile_->setGeometry(140, 310, PanelWidth - 280, 44);
    txtFile_->installEventFilter(this);
    setNameFieldColour(false);

    auto* applica =
        new PictureButton(QStringLiteral("btnApplica"), QStringLiteral(":/archives/applica.svg"), panel);
    applica->move(PanelWidth / 2 - applica->width() - 20, 400);
    auto* annulla =
        new PictureButton(QStringLiteral("btnAnnulla"), QStringLiteral(":/archives/annulla.svg"), panel);
    annulla->move(PanelWidth / 2 + 20, 400);

    lblFile_ = new QLabel(panel);
    lblFile_->setObjectName(QStringLiteral("lblFile"));
    lblFile_->hide();

    guida->setAccessibleName(QStringLiteral("Guida"));
    applica->setAccessibleName(QStringLiteral("Applica e chiudi"));
    annulla->setAccessibleName(QStringLiteral("Annulla"));
    txtFile_->setAccessibleName(QStringLiteral("Nome del nuovo archivio"));
    platform::placePictureButtonsLast(this);

    connect(applica, &PictureButton::clicked, this, &CreateArchiveScreen::btnApplicaClick);
    connect(annulla, &PictureButton::clicked, this, &CreateArchiveScreen::btnAnnullaClick);
    connect(guida, &PictureButton::clicked, this, &CreateArchiveScreen::imgGuidaClick);
    platform::applyScreenKeys(this,
                              {.escape = [this] { btnAnnullaClick(); }, .help = [this] { imgGuidaClick(); }});
}

bool CreateArchiveScreen::isRefusedCharacter(QChar c)
{
    return Refused.contains(c);
}

void CreateArchiveScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Coming back from the taskbar keeps what the user typed.
    if (event->spontaneous())
        return;
    txtFile_->clear();
    txtFile_->setFocus();
}

bool CreateArchiveScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtFile_) {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (text.size() == 1 && isRefusedCharacter(text.front()))
                return true;
        } else if (event->type() == QEvent::InputMethod) {
            // Characters composed with a dead key or an input method are typed too.
            const auto* input = static_cast<QInputMethodEvent*>(event);
            QString commit = input->commitString();
            commit.removeIf(&CreateArchiveScreen::isRefusedCharacter);
            if (commit.size() != input->commitString().size()) {
                QInputMethodEvent allowed(input->preeditString(), input->attributes());
                allowed.setCommitString(commit, input->replacementStart(), input->replacementLength());
                QCoreApplication::sendEvent(txtFile_, &allowed);
                return true;
            }
        } else if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            setNameFieldColour(event->type() == QEvent::FocusIn);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CreateArchiveScreen::setNameFieldColour(bool focused)
{
    txtFile_->setStyleSheet(
        focused ? QStringLiteral("QLineEdit { background: #FFFF00; border: 2px solid #87CEEB; }")
                : QStringLiteral("QLineEdit { background: #F0F8FF; border: 2px solid #87CEEB; }"));
}

void CreateArchiveScreen::btnApplicaClick()
{
    lblFile_->clear();
    const QString name = trimmed(txtFile_->text());
    if (name.isEmpty()) {
        platform::warning(this, QStringLiteral("Attenzione: per creare l'archivio di giochi da tavolo "
                                               "\u00E8 necessario indicarne il nome."));
        txtFile_->setFocus();
        return;
    }
    const QString path = ProgramFolder() + name + ArchiveExtension;
    lblFile_->setText(path);

    // The list shows "<name>.gdt" in any letter case: a name it already shows is in use.
    if (archiveNameInUse(ProgramFolder(), name)) {
        platform::warning(
            this,
            QStringLiteral("Attenzione: il nome dell'archivio di giochi da tavolo indicato \u00E8 gi\u00E0 "
                           "stato utilizzato in precedenza.\r\n\r\nInserire un nome diverso oppure, se si "
                           "desidera aprire un archivio di giochi da tavolo gi\u00E0 creato, premere il "
                           "pulsante Apri archivio esistente."));
        return;
    }
    // The name must stay one file of the program folder: a separator would put the archive
    // somewhere the list never looks.
    const int failure = name.contains(QLatin1Char('/')) ? EINVAL : createEmptyArchive(path);
    if (failure != 0) {
        platform::reportUnhandledFailure(this, QStringLiteral("Impossibile creare il file \"%1\".\r\n\r\n%2")
                                                   .arg(path, describeCreateFailure(failure)));
        return;
    }

    platform::information(this,
                          QStringLiteral("Il file relativo al nuovo archivio di giochi da tavolo \u00E8 "
                                         "stato creato con successo.\r\n\r\nE' ora possibile "
                                         "visualizzarlo nell'elenco degli archivi esistenti."));
    close();
}

void CreateArchiveScreen::btnAnnullaClick()
{
    close();
}

void CreateArchiveScreen::imgGuidaClick()
{
    help::showHelp(this, help::HelpTopic::Archives);
}

void CreateArchiveScreen::closeEvent(QCloseEvent* event)
{
    event->accept();
    Q_EMIT closed();
}

} // namespace brivanto
