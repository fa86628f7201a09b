// The record editor's archive actions: browsing, saving and the photos that go with a record.
#include "editor/PhotoSlot.h"
#include "editor/TfrmCartoline.h"
#include "platform/MessageBoxes.h"
#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brivanto {
namespace {
const QString EmptyArchive = QStringLiteral("L'archivio non contiene nessuna scheda.");

struct MandatoryField
{
    int field;
    const char16_t* message;
};
// Tested in this order; the first empty one stops the save.
constexpr std::array<MandatoryField, 5> MandatoryFields{{
    {0, u"Attenzione: per salvare la scheda \u00E8 necessario indicare il nome del gioco da tavolo."},
    {1, u"Attenzione: per salvare la scheda \u00E8 necessario indicare il codice ID del gioco da tavolo."},
    {2, u"Attenzione: per salvare la scheda \u00E8 necessario indicare il genere di gioco da tavolo."},
    {3,
     u"Attenzione: per salvare la scheda \u00E8 necessario indicare la casa editrice del gioco da tavolo."},
    {5,
     u"Attenzione: per salvare la scheda \u00E8 necessario indicare l'anno di uscita del gioco da tavolo."},
}};

// The position shown, or 0 for a new record (or a text that is no position).
int positionValue(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value > 0 ? value : 0;
}
} // namespace

void TfrmCartoline::browse(Browse direction)
{
    // A new record counts as position 0: Next and Previous then both show the first record.
    const int current = positionValue(position());
    try {
        ArchiveFile archive;
        archive.Open(archiveFile(), ArchiveFile::Access::Read);
        const int count = archive.RecordCount();
        if (direction == Browse::Previous && current == 1) {
            archive.Close();
            return;
        }
        if (count == 0) {
            archive.Close();
            if (direction == Browse::Next)
                lblPosizione_->clear();
            platform::information(this, EmptyArchive);
            return;
        }
        int wanted = 0; // 0: stay where we are, without a word
        switch (direction) {
        case Browse::First:
            wanted = 1;
            break;
        case Browse::Previous:
            wanted = current == 0 ? 1 : current - 1;
            break;
        case Browse::Next:
            wanted = current < count ? current + 1 : 0;
            break;
        case Browse::Last:
            wanted = count;
            break;
        }
        if (wanted == 0) {
            archive.Close();
            return;
        }
        archive.Seek(wanted - 1);
        archive.Read(buffer_);
        const int shown = archive.Pointer();
        archive.Close();
        ShowRecord(buffer_, shown);
    } catch (const ArchiveError&) {
        platform::error(this, archiveAccessErrorText());
    }
}

void TfrmCartoline::cmdPrimoClick()
{
    browse(Browse::First);
}

void TfrmCartoline::cmdIndietroClick()
{
    browse(Browse::Previous);
}

void TfrmCartoline::cmdAvantiClick()
{
    browse(Browse::Next);
}

void TfrmCartoline::cmdUltimoClick()
{
    browse(Browse::Last);
}

GameRecord TfrmCartoline::recordFromScreen()
{
    GameRecord record = buffer_;
    for (int i = 0; i < EditorFieldCount; ++i)
        textToField(edits_[i]->text(), fieldAt(record, Fields[i]), Fields[i].capacity);
    writeForSale(record, chkInVendita_->isChecked());
    const AttachmentLabels labels = attachments();
    TextToField(labels.files[0], record.File01);
    TextToField(labels.files[1], record.File02);
    TextToField(labels.files[2], record.File03);
    TextToField(labels.descriptions[0], record.Desc01);
    TextToField(labels.descriptions[1], record.Desc02);
    TextToField(labels.descriptions[2], record.Desc03);
    return record;
}

void TfrmCartoline::cmdSalvaClick()
{
    // The field being edited finishes its editing first: a market value typed just before the
    // press is stored normalised.
    const QWidget* editing = focusWidget();
    btnFocus_->setFocus(Qt::OtherFocusReason);
    if (editing == txtValore_)
        txtValoreExit();

    for (const MandatoryField& mandatory : MandatoryFields) {
        QLineEdit* edit = edits_[mandatory.field];
        if (trimmed(edit->text()).isEmpty()) {
            platform::warning(this, QString::fromUtf16(mandatory.message));
            edit->setFocus(Qt::OtherFocusReason);
            return;
        }
    }

    bool appended = false;
    try {
        ArchiveFile archive;
        archive.Open(archiveFile());
        const int count = archive.RecordCount();
        const int current = positionValue(position());
        // A position past the end (the file was shortened by another program) is saved as a new
        // record at the end: writing there would leave blank records in between.
        appended = current == 0 || current > count;
        buffer_ = recordFromScreen();
        archive.Seek(appended ? count : current - 1);
        archive.Write(buffer_);
        lblPosizione_->setText(QString::number(archive.Pointer()));
        archive.Close();
    } catch (const ArchiveError&) {
        platform::error(this, archiveAccessErrorText());
        return;
    }

    const bool photosSaved = SaveRecordPhotos();
    platform::information(this, appended
                                    ? QStringLiteral("La scheda corrente \u00E8 stata inserita in archivio.")
                                    : QStringLiteral("Le modifiche apportate alla scheda corrente sono state "
                                                     "salvate in archivio."));
    // The record is saved; the pictures stay in their slots so that saving again can retry.
    if (!photosSaved) {
        platform::warning(this,
                          QStringLiteral("Attenzione: la scheda \u00E8 stata salvata in archivio, ma non "
                                         "\u00E8 stato possibile salvare le foto.\r\n\r\nAccertarsi di "
                                         "possedere i privilegi di scrittura nella cartella di "
                                         "installazione del programma e premere di nuovo il pulsante "
                                         "di salvataggio."));
    }
}

QString TfrmCartoline::photoPath(PhotoSlotId id) const
{
    return photoFilePath(lblNome_->text(), lblPosizione_->text(), id);
}

// Each slot reads its own file: a missing or unreadable file gives that slot its default
// picture and leaves the other slot's photo alone.
void TfrmCartoline::LoadRecordPhotos()
{
    const bool folderReady = ensurePhotoFolder();
    slotA_->loadPhotoFile(folderReady ? photoPath(PhotoSlotId::A) : QString());
    slotB_->loadPhotoFile(folderReady ? photoPath(PhotoSlotId::B) : QString());
}

bool TfrmCartoline::SaveRecordPhotos()
{
    if (!ensurePhotoFolder())
        return false;
    const bool savedA = slotA_->savePhotoFile(photoPath(PhotoSlotId::A));
    const bool savedB = slotB_->savePhotoFile(photoPath(PhotoSlotId::B));
    return savedA && savedB;
}

} // namespace brivanto
