#include "editor/TfrmCartoline.h"

#include "editor/MarketValue.h"
#include "editor/PhotoSlot.h"
#include "editor/TfrmAllegaCartella.h"
#include "help/Help.h"
#include "media/TfrmSlideshow_Euro_01.h"
#include "output/TfrmAnteprimaCartolina.h"
#include "output/TfrmExpCartoline.h"
#include "output/TfrmStampaCartolina.h"
#include "platform/ScreenKeys.h"
#include "search/TfrmInVendita.h"
#include "search/TfrmTrovaCartoline.h"
#include "storage/FieldText.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>



namespace brivanto {
bool TfrmCartoline::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (watched == txtValore_)
            return filterMarketValueKey(static_cast<QKeyEvent*>(event));
        if (platform::isPlainEnter(static_cast<QKeyEvent*>(event))) {
            const auto found = std::find(edits_.begin(), edits_.end(), watched);
            if (found != edits_.end()) {
                edits_[nextEditorField(static_cast<int>(found - edits_.begin()))]->setFocus(
                    Qt::TabFocusReason);
                return true;
            }
        }
        break;
    case QEvent::FocusOut:
        // Leaving the market value normalises it; a message box or a context menu opening over
        // the field is not leaving it.
        if (watched == txtValore_) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                txtValoreExit();
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// Only digits and the comma can be typed; of the editing keys only Backspace, Delete, Left and
// Right work, Enter moves on to the next field and Tab, Shift+Tab move through the Tab order.
bool TfrmCartoline::filterMarketValueKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        edits_[nextEditorField(6)]->setFocus(Qt::TabFocusReason);
        return true;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    // Tab and Shift+Tab leave the field as they leave every other one.
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    const QString text = event->text();
    const bool typable = text.size() == 1 && isMarketValueText(text) &&
                         txtValore_->text().size() - txtValore_->selectedText().size() < 12;
    return !typable;
}

void TfrmCartoline::txtValoreExit()
{
    txtValore_->setText(normaliseMarketValue(txtValore_->text()));
}

void TfrmCartoline::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Restoring a minimised window is not a new showing: what the user typed stays.
    if (!event->spontaneous())
        ClearRecordScreen();
}

void TfrmCartoline::closeEvent(QCloseEvent* event)
{
    // Hidden by the program (the launcher's flow) the editor has nothing to ask.
    if (isVisible() && !offerToSaveChanges()) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT closed();
}

void TfrmCartoline::setArchive(const QString& file, const QString& name)
{
    lblFile_->setText(file);
    lblNome_->setText(name);
}

QString TfrmCartoline::archiveFile() const
{
    return trimmed(lblFile_->text());
}

QString TfrmCartoline::archiveName() const
{
    return trimmed(lblNome_->text());
}

QString TfrmCartoline::position() const
{
    return trimmed(lblPosizione_->text());
}

QStringList TfrmCartoline::fieldTexts() const
{
    QStringList texts;
    for (const QLineEdit* edit : edits_)
        texts.append(edit->text());
    return texts;
}

bool TfrmCartoline::forSale() const
{
    return chkInVendita_->isChecked();
}

AttachmentLabels TfrmCartoline::attachments() const
{
    AttachmentLabels labels;
    for (int i = 0; i < 3; ++i) {
        labels.files[i] = lblFiles_[i]->text();
        labels.descriptions[i] = lblDescs_[i]->text();
    }
    return labels;
}

void TfrmCartoline::setAttachments(const AttachmentLabels& labels)
{
    for (int i = 0; i < 3; ++i) {
        lblFiles_[i]->setText(labels.files[i]);
        lblDescs_[i]->setText(labels.descriptions[i]);
    }
}

QImage TfrmCartoline::photo(PhotoSlotId id) const
{
    return slot(id)->photo().image.copy();
}

void TfrmCartoline::putPhoto(PhotoSlotId id, const QImage& picture)
{
    slot(id)->putPicture(picture.copy());
}

void TfrmCartoline::ClearRecordScreen()
{
    for (QLineEdit* edit : edits_)
        edit->clear();
    txtValore_->setText(QStringLiteral("0,00"));
    chkInVendita_->setChecked(false);
    setAttachments({});
    slotA_->showDefaultPicture();
    slotB_->showDefaultPicture();
    lblPosizione_->clear();
    edits_.front()->setFocus(Qt::OtherFocusReason);
    rememberScreenAsUnchanged();
}

void TfrmCartoline::ShowRecord(const GameRecord& record, int position)
{
    for (int i = 0; i < EditorFieldCount; ++i)
        edits_[i]->setText(fieldToText(fieldAt(record, Fields[i]), Fields[i].capacity));
    if (const std::optional<bool> mark = readForSale(record))
        chkInVendita_->setChecked(*mark);
    setAttachments({{FieldToText(record.File01), FieldToText(record.File02), FieldToText(record.File03)},
                    {FieldToText(record.Desc01), FieldToText(record.Desc02), FieldToText(record.Desc03)}});
    lblPosizione_->setText(QString::number(position));
    loaded_ = record;
    LoadRecordPhotos();
    rememberScreenAsUnchanged();
}

void TfrmCartoline::run(EditorAction action)
{
    switch (action) {
    case EditorAction::NewRecord:
        return cmdNuovoClick();
    case EditorAction::Save:
        return cmdSalvaClick();
    case EditorAction::Delete:
        return cmdEliminaClick();
    case EditorAction::Search:
        return cmdTrovaClick();
    case EditorAction::ForSale:
        return cmdCercaDisponibiliClick();
    case EditorAction::Attachments:
        return cmdFileClick();
    case EditorAction::Preview:
        return cmdAnteprimaClick();
    case EditorAction::Print:
        return cmdStampaClick();
    case EditorAction::First:
        return cmdPrimoClick();
    case EditorAction::Previous:
        return cmdIndietroClick();
    case EditorAction::Next:
        return cmdAvantiClick();
    case EditorAction::Last:
        return cmdUltimoClick();
    case EditorAction::Export:
        return cmdEsportaClick();
    case EditorAction::Slideshow:
        return cmdSlideShowClick();
    case EditorAction::Help:
        return cmdGuidaClick();
    case EditorAction::Exit:
        return cmdEsciClick();
    }
}

void TfrmCartoline::cmdNuovoClick()
{
    if (offerToSaveChanges())
        ClearRecordScreen();
}

void TfrmCartoline::cmdFileClick()
{
    showAttachments(*this);
}

void TfrmCartoline::cmdEsportaClick()
{
    showExport(*this);
}

void TfrmCartoline::cmdTrovaClick()
{
    showSearch(*this, QStringLiteral("cartoline"));
}

void TfrmCartoline::cmdCercaDisponibiliClick()
{
    showForSale(*this);
}

void TfrmCartoline::cmdSlideShowClick()
{
    showSlideshow(*this);
}

void TfrmCartoline::cmdAnteprimaClick()
{
    showCardPreview(*this);
}

void TfrmCartoline::cmdStampaClick()
{
    showCardPrint(*this);
}

void TfrmCartoline::cmdGuidaClick()
{
    help::showHelp(this, help::HelpTopic::Editor);
}

void TfrmCartoline::cmdEsciClick()
{
    close();
}

} // namespace brivanto
