#include "editor/AttachmentsDialog.h"

#include "editor/AttachmentFile.h"
#include "editor/RecordEditorAccess.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureBox.h"
#include "platform/ScreenKeys.h"
#include "shell/DesktopOpen.h"
#include "shell/Screen.h"
#include "storage/FieldText.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace brivanto {

using platform::PictureBox;
using platform::PictureButton;

namespace {
constexpr int ClientWidth = 634;
constexpr int ClientHeight = 534;
constexpr int Margin = 12;
constexpr int SlotTop = 142;
constexpr int SlotPitch = 110;
constexpr int SlotHeight = 100;
const QString Editor = QStringLiteral("cartoline");

const QString OverwriteQuestion = QStringLiteral(
    "Attenzione: nella cartella dei documenti allegati \u00E8 presente un file con lo stesso nome.\r\n\r\n"
    "Si vuole sovrascrivere il file esistente?");
const QString CopyFailed = QStringLiteral(
    "Attenzione: non \u00E8 stato possibile copiare il file nella cartella dei documenti allegati.\r\n\r\n"
    "Accertarsi che il file sia leggibile e di possedere i privilegi di scrittura nella cartella di "
    "installazione del programma.");
const QString NotAnAttachment =
    QStringLiteral("Attenzione: il nome del file allegato non \u00E8 valido.\r\n\r\n"
                   "\u00C8 possibile aprire soltanto i file della cartella dei documenti allegati.");

QString slotName(const char* prefix, int index)
{
    return QLatin1String(prefix) + QStringLiteral("0%1").arg(index + 1);
}
} // namespace

AttachmentsDialog::AttachmentsDialog(RecordEditorAccess& editor) : QDialog(editor.owner()), editor_(editor)
{
    prepareScreen(this, QStringLiteral("TfrmAllegaCartella"), QStringLiteral(" Allega file"));
    makeFixedDialogWindow(this, ClientWidth, ClientHeight);
    setAutoFillBackground(true);
    setPalette(QPalette(QColor(0xFF, 0xF8, 0xEC)));

    auto* istruzioni = new PictureBox(QStringLiteral("imgIstruzioni"),
                                      QStringLiteral(":/editor/istruzioni_allega.svg"), this);
    istruzioni->move((ClientWidth - istruzioni->width()) / 2, Margin);
    istruzioni->setAccessibleName(QStringLiteral("Istruzioni"));
    istruzioni->setAccessibleDescription(QStringLiteral(
        "Selezionare i file da allegare alla scheda corrente servendosi del pulsante Sfoglia. Quindi fare "
        "clic su Applica e chiudi e poi sul pulsante Salva per salvare le modifiche. Per aprire un file "
        "\u00E8 sufficiente premere il pulsante Apri."));
    for (int i = 0; i < 3; ++i)
        buildSlot(i);

    auto* btnApplica = new QPushButton(QStringLiteral("Applica e chiudi"), this);
    btnApplica->setObjectName(QStringLiteral("btnApplica"));
    btnApplica->setGeometry(ClientWidth - Margin - 150, ClientHeight - Margin - 36, 150, 36);
    auto* btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnAnnulla->setGeometry(btnApplica->x() - 10 - 110, btnApplica->y(), 110, 36);
    connect(btnApplica, &QPushButton::clicked, this, &AttachmentsDialog::btnApplicaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &AttachmentsDialog::btnAnnullaClick);

    callerTag_ = new QLabel(this);
    callerTag_->setObjectName(QStringLiteral("lblMemory"));
    callerTag_->hide();

    QWidget* previous = nullptr;
    for (const Slot& slot : slots_) {
        for (QWidget* control : {static_cast<QWidget*>(slot.txtFile), static_cast<QWidget*>(slot.btnSfoglia),
                                 static_cast<QWidget*>(slot.btnApri), static_cast<QWidget*>(slot.txtDesc)}) {
            if (previous)
                setTabOrder(previous, control);
            previous = control;
        }
    }
    setTabOrder(previous, btnApplica);
    setTabOrder(btnApplica, btnAnnulla);
    platform::placePictureButtonsLast(this);

    const AttachmentLabels labels = editor_.attachments();
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        slots_[i].txtFile->setText(trimmed(labels.files[i]));
        slots_[i].txtDesc->setText(trimmed(labels.descriptions[i]));
    }
    platform::applyScreenKeys(this, {.escape = [this] { btnAnnullaClick(); }});
}

void AttachmentsDialog::buildSlot(int index)
{
    auto* band = new QFrame(this);
    band->setObjectName(slotName("panAllegato", index));
    band->setGeometry(Margin, SlotTop + index * SlotPitch, ClientWidth - 2 * Margin, SlotHeight);
    band->setStyleSheet(QStringLiteral("QFrame#%1 { background: #FFFFFF; border: 1px solid #1A7A89; "
                                       "border-radius: 8px; } QLabel { color: #22313A; }")
                            .arg(band->objectName()));
    const QFont labelFont(QStringLiteral("Verdana"), 9);
    const QFont boldFont(QStringLiteral("Verdana"), 10, QFont::Bold);
    const QString number = QStringLiteral("%1\u00B0").arg(index + 1);

    auto* nameLabel = new QLabel(QStringLiteral("Nome %1 file allegato:").arg(number), band);
    nameLabel->setObjectName(slotName("lblNome", index));
    nameLabel->setFont(labelFont);
    nameLabel->setGeometry(12, 14, 200, 28);

    Slot& slot = slots_[static_cast<std::size_t>(index)];
    slot.txtFile = new QLineEdit(band);
    slot.txtFile->setObjectName(slotName("txtFile", index));
    slot.txtFile->setReadOnly(true);
    slot.txtFile->setFont(boldFont);
    slot.txtFile->setStyleSheet(QStringLiteral("QLineEdit { color: #6B7378; background: #F4F4F4; }"));
    slot.txtFile->setGeometry(186, 14, 222, 28);
    nameLabel->setBuddy(slot.txtFile);

    auto* erase =
        new PictureButton(slotName("imgCancella", index), QStringLiteral(":/editor/gomma.svg"), band);
    erase->move(414, 14 + (28 - erase->height()) / 2);
    erase->setAccessibleName(QStringLiteral("Togli il %1 file allegato").arg(number));

    slot.btnSfoglia = new QPushButton(QStringLiteral("Sfoglia..."), band);
    slot.btnSfoglia->setObjectName(slotName("btnSfoglia", index));
    slot.btnSfoglia->setGeometry(446, 13, 80, 30);
    slot.btnApri = new QPushButton(QStringLiteral("Apri"), band);
    slot.btnApri->setObjectName(slotName("btnApri", index));
    slot.btnApri->setGeometry(532, 13, 64, 30);
    slot.btnApri->setEnabled(false);
    // The three slots' buttons show the same captions; a screen reader tells them apart.
    slot.btnSfoglia->setAccessibleName(QStringLiteral("Sfoglia per il %1 file allegato").arg(number));
    slot.btnApri->setAccessibleName(QStringLiteral("Apri il %1 file allegato").arg(number));

    auto* descLabel = new QLabel(QStringLiteral("Descrizione %1 file allegato:").arg(number), band);
    descLabel->setObjectName(slotName("lblDescrizione", index));
    descLabel->setFont(labelFont);
    descLabel->setGeometry(12, 56, 200, 28);
    slot.txtDesc = new QLineEdit(band);
    slot.txtDesc->setObjectName(slotName("txtDesc", index));
    slot.txtDesc->setFont(boldFont);
    slot.txtDesc->setGeometry(186, 56, 410, 28);
    descLabel->setBuddy(slot.txtDesc);

    QPushButton* apri = slot.btnApri;
    connect(slot.txtFile, &QLineEdit::textChanged, apri,
            [apri](const QString& text) { apri->setEnabled(!trimmed(text).isEmpty()); });
    connect(slot.btnSfoglia, &QPushButton::clicked, this, [this, index] { btnSfogliaClick(index); });
    connect(slot.btnApri, &QPushButton::clicked, this, [this, index] { btnApriClick(index); });
    connect(erase, &PictureButton::clicked, this, [this, index] { imgCancellaClick(index); });
}

void AttachmentsDialog::setCallerTag(const QString& tag)
{
    callerTag_->setText(tag);
}

void AttachmentsDialog::btnSfogliaClick(int index)
{
    platform::FileDialogRequest dlgFile;
    dlgFile.title = QStringLiteral("Selezionare il file da allegare:");
    dlgFile.filters = {QStringLiteral("Tutti i file (*.*)")};
    const QString source = platform::Dialogs::current().openFile(this, dlgFile);
    if (source.isEmpty())
        return;
    const std::optional<QString> name =
        attachFile(source, [this] { return platform::confirm(this, OverwriteQuestion); });
    if (!name) {
        // The slot keeps naming what it named: the record never points at a copy that was not made.
        platform::warning(this, CopyFailed);
        return;
    }
    slots_[static_cast<std::size_t>(index)].txtFile->setText(*name);
}

void AttachmentsDialog::btnApriClick(int index)
{
    const QString name = trimmed(slots_[static_cast<std::size_t>(index)].txtFile->text());
    const QString path = attachmentPath(name);
    if (path.isEmpty()) {
        platform::warning(this, NotAnAttachment);
        return;
    }
    openWithDesktop(QLatin1Char('"') + path + QLatin1Char('"'), this);
}

void AttachmentsDialog::imgCancellaClick(int index)
{
    slots_[static_cast<std::size_t>(index)].txtFile->clear();
}

void AttachmentsDialog::btnApplicaClick()
{
    if (trimmed(callerTag_->text()) != Editor)
        return;
    AttachmentLabels labels;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        labels.files[i] = trimmed(slots_[i].txtFile->text());
        labels.descriptions[i] = trimmed(slots_[i].txtDesc->text());
    }
    editor_.setAttachments(labels);
    close();
}

void AttachmentsDialog::btnAnnullaClick()
{
    close();
}

void showAttachments(RecordEditorAccess& editor)
{
    QPointer<AttachmentsDialog> screen = new AttachmentsDialog(editor);
    screen->setCallerTag(Editor);
    screen->exec();
    delete screen.data();
}

} // namespace brivanto
