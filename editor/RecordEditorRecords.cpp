// The record editor's archive actions: browsing, saving and the photos that go with a record.
#include "editor/MarketValue.h"
#include "editor/PhotoSlot.h"
#include "editor/RecordEditor.h"
#include "platform/MessageBoxes.h"
#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"
#include "storage/GameArchive.h"

#include <QApplication>
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

int RecordEditor::browseTarget(Browse direction)
{
    // A new record counts as position 0: Next and Previous then both show the first record.
    const int current = positionValue(position());
    ArchiveFile archive;
    gameArchive().openForReading(archive);
    const int count = archive.RecordCount();
    archive.Close();
    if (direction == Browse::Previous && current == 1)
        return 0;
    if (count == 0) {
        if (direction == Browse::Next)
            lblPosizione_->clear();
        platform::information(this, EmptyArchive);
        return 0;
    }
    switch (direction) {
    case Browse::First:
        return 1;
    case Browse::Previous:
        return current == 0 ? 1 : current - 1;
    case Browse::Next:
        return current < count ? current + 1 : 0;
    case Browse::Last:
        return count;
    }
    return 0;
}

void RecordEditor::browse(Browse direction)
{
    try {
        int wanted = browseTarget(direction); // 0: stay where we are, without a word
        if (wanted == 0)
            return;
        if (hasUnsavedChanges()) {
            switch (askToSaveChanges()) {
            case platform::Answer::Yes:
                if (!saveRecord())
                    return;
                // The saved record may have a new position: browse on from there.
                wanted = browseTarget(direction);
                if (wanted == 0)
                    return;
                break;
            case platform::Answer::No:
                break;
            default:
                return;
            }
        }
        ArchiveFile archive;
        gameArchive().openForReading(archive);
        if (wanted > archive.RecordCount()) { // shortened by another program meanwhile
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

void RecordEditor::cmdPrimoClick()
{
    browse(Browse::First);
}

void RecordEditor::cmdIndietroClick()
{
    browse(Browse::Previous);
}

void RecordEditor::cmdAvantiClick()
{
    browse(Browse::Next);
}

void RecordEditor::cmdUltimoClick()
{
    browse(Browse::Last);
}

GameRecord RecordEditor::recordFromScreen()
{
    GameRecord record = buffer_;
    for (int i = 0; i < EditorFieldCount; ++i)
        textToField(edits_[i]->text(), fieldAt(record, Fields[i]), Fields[i].capacity);
    writeForSale(record, chkInVendita_->isChecked());
    const AttachmentLabels labels = attachments();
    TextToField(labels.files[0], record.attachment1);
    TextToField(labels.files[1], record.attachment2);
    TextToField(labels.files[2], record.attachment3);
    TextToField(labels.descriptions[0], record.attachmentDescription1);
    TextToField(labels.descriptions[1], record.attachmentDescription2);
    TextToField(labels.descriptions[2], record.attachmentDescription3);
    return record;
}

void RecordEditor::cmdSalvaClick()
{
    saveRecord();
}

bool RecordEditor::saveRecord()
{
    // The field being edited finishes its editing first: a market value typed just before the
    // press is stored normalised. The focus stays where it is.
    if (focusWidget() == txtValore_)
        txtValoreExit();

    for (const MandatoryField& mandatory : MandatoryFields) {
        QLineEdit* edit = edits_[mandatory.field];
        if (trimmed(edit->text()).isEmpty()) {
            platform::warning(this, QString::fromUtf16(mandatory.message));
            edit->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }

    // Overwritten only while it is still the record shown: another workstation may have changed
    // it or moved another game to its position meanwhile. A screen without a position is added.
    const int current = positionValue(position());
    buffer_ = recordFromScreen();
    // The photos are made ready (encoded where they changed) before the archive is locked.
    PhotoBytes photos;
    photos.a = slotA_->bytesToSave(current == 0 ? QString() : photoPath(PhotoSlotId::A));
    photos.b = slotB_->bytesToSave(current == 0 ? QString() : photoPath(PhotoSlotId::B));
    SaveResult saved;
    try {
        saved = gameArchive().saveRecord(current, recordView(loaded_), buffer_, photos);
    } catch (const ArchiveReadOnlyError&) {
        platform::warning(this, archiveReadOnlyText());
        return false;
    } catch (const ArchiveError&) {
        platform::error(this, archiveAccessErrorText());
        return false;
    }
    if (saved.outcome == SaveOutcome::RecordChanged)
        return resolveStaleSave(current);
    const bool appended = saved.outcome == SaveOutcome::Appended;
    lblPosizione_->setText(QString::number(saved.position));
    loaded_ = buffer_;

    const bool photosSaved = saved.photosWritten;
    unchanged_ = screenValues();
    // Photos that could not be written still count as changes, so leaving asks again.
    if (photosSaved) {
        slotA_->markSavedTo(photoPath(PhotoSlotId::A));
        slotB_->markSavedTo(photoPath(PhotoSlotId::B));
        slotA_->markUnchanged();
        slotB_->markUnchanged();
    }
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
    return true;
}

RecordEditor::ScreenValues RecordEditor::screenValues() const
{
    ScreenValues values;
    for (const QLineEdit* edit : edits_)
        values.fields.append(trimmed(edit->text()));
    // The market value is compared as it will be stored, so leaving the field (which normalises
    // it) is no change.
    values.fields[6] = normaliseMarketValue(values.fields[6]);
    values.forSale = chkInVendita_->isChecked();
    values.attachments = attachments();
    for (QString& text : values.attachments.files)
        text = trimmed(text);
    for (QString& text : values.attachments.descriptions)
        text = trimmed(text);
    return values;
}

void RecordEditor::rememberScreenAsUnchanged()
{
    unchanged_ = screenValues();
    slotA_->markUnchanged();
    slotB_->markUnchanged();
}

bool RecordEditor::hasUnsavedChanges() const
{
    return slotA_->isModified() || slotB_->isModified() || !(screenValues() == unchanged_);
}

platform::Answer RecordEditor::askToSaveChanges()
{
    // Over the screen in front, which is the search or for-sale list when one of its lines is
    // opened.
    QWidget* over = QApplication::activeModalWidget();
    return platform::askYesNoCancel(over ? over : this,
                                    QStringLiteral("Salvare le modifiche alla scheda corrente?"));
}

bool RecordEditor::offerToSaveChanges()
{
    if (!hasUnsavedChanges())
        return true;
    switch (askToSaveChanges()) {
    case platform::Answer::Yes:
        return saveRecord();
    case platform::Answer::No:
        return true;
    default:
        return false;
    }
}

QString RecordEditor::photoPath(PhotoSlotId id) const
{
    return photoFilePath(lblNome_->text(), lblPosizione_->text(), id);
}

// Each slot reads its own file: a missing or unreadable file gives that slot its default
// picture and leaves the other slot's photo alone.
void RecordEditor::LoadRecordPhotos()
{
    const bool folderReady = ensurePhotoFolder();
    slotA_->loadPhotoFile(folderReady ? photoPath(PhotoSlotId::A) : QString());
    slotB_->loadPhotoFile(folderReady ? photoPath(PhotoSlotId::B) : QString());
}

GameArchive RecordEditor::gameArchive() const
{
    return GameArchive(archiveFile(), photoFolder(), archiveName());
}

} // namespace brivanto
