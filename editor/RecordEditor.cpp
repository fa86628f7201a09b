#include "editor/RecordEditor.h"

#include "editor/AttachmentsDialog.h"
#include "editor/MarketValue.h"
#include "editor/PhotoSlot.h"
#include "exchange/CsvCommands.h"
#include "help/Help.h"
#include "media/Slideshow.h"
#include "output/CardPreviewDialog.h"
#include "output/CardPrintDialog.h"
#include "output/ExportScreen.h"
#include "platform/ScreenKeys.h"
#include "search/ForSaleList.h"
#include "search/SearchScreen.h"
#include "statistics/StatisticsScreen.h"
#include "storage/FieldText.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brivanto {
bool RecordEditor::eventFilter(QObject* watched, QEvent* event)
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
bool RecordEditor::filterMarketValueKey(QKeyEvent* event)
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

void RecordEditor::txtValoreExit()
{
    txtValore_->setText(normaliseMarketValue(txtValore_->text()));
}

void RecordEditor::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Restoring a minimised window is not a new showing: what the user typed stays.
    if (!event->spontaneous())
        ClearRecordScreen();
}

void RecordEditor::closeEvent(QCloseEvent* event)
{
    // Hidden by the program (the launcher's flow) the editor has nothing to ask.
    if (isVisible() && !offerToSaveChanges()) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT closed();
}

void RecordEditor::setArchive(const QString& file, const QString& name)
{
    lblFile_->setText(file);
    lblNome_->setText(name);
}

QString RecordEditor::archiveFile() const
{
    return trimmed(lblFile_->text());
}

QString RecordEditor::archiveName() const
{
    return trimmed(lblNome_->text());
}

QString RecordEditor::position() const
{
    return trimmed(lblPosizione_->text());
}

QStringList RecordEditor::fieldTexts() const
{
    QStringList texts;
    for (const QLineEdit* edit : edits_)
        texts.append(edit->text());
    return texts;
}

bool RecordEditor::forSale() const
{
    return chkInVendita_->isChecked();
}

AttachmentLabels RecordEditor::attachments() const
{
    AttachmentLabels labels;
    for (int i = 0; i < 3; ++i) {
        labels.files[i] = lblFiles_[i]->text();
        labels.descriptions[i] = lblDescs_[i]->text();
    }
    return labels;
}

void RecordEditor::setAttachments(const AttachmentLabels& labels)
{
    for (int i = 0; i < 3; ++i) {
        lblFiles_[i]->setText(labels.files[i]);
        lblDescs_[i]->setText(labels.descriptions[i]);
    }
}

QImage RecordEditor::photo(PhotoSlotId id) const
{
    return slot(id)->photo().image.copy();
}

void RecordEditor::putPhoto(PhotoSlotId id, const QImage& picture)
{
    slot(id)->putPicture(picture.copy());
}

void RecordEditor::ClearRecordScreen()
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

void RecordEditor::ShowRecord(const GameRecord& record, int position)
{
    for (int i = 0; i < EditorFieldCount; ++i)
        edits_[i]->setText(fieldToText(fieldAt(record, Fields[i]), Fields[i].capacity));
    if (const std::optional<bool> mark = readForSale(record))
        chkInVendita_->setChecked(*mark);
    setAttachments(
        {{FieldToText(record.attachment1), FieldToText(record.attachment2), FieldToText(record.attachment3)},
         {FieldToText(record.attachmentDescription1), FieldToText(record.attachmentDescription2),
          FieldToText(record.attachmentDescription3)}});
    lblPosizione_->setText(QString::number(position));
    loaded_ = record;
    LoadRecordPhotos();
    rememberScreenAsUnchanged();
}

void RecordEditor::run(EditorAction action)
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
    case EditorAction::Import:
        return cmdImportaClick();
    case EditorAction::Slideshow:
        return cmdSlideShowClick();
    case EditorAction::Statistics:
        return cmdStatisticheClick();
    case EditorAction::Help:
        return cmdGuidaClick();
    case EditorAction::Exit:
        return cmdEsciClick();
    }
}

void RecordEditor::cmdNuovoClick()
{
    if (offerToSaveChanges())
        ClearRecordScreen();
}

void RecordEditor::cmdFileClick()
{
    showAttachments(*this);
}

void RecordEditor::cmdEsportaClick()
{
    showExport(*this);
}

void RecordEditor::cmdImportaClick()
{
    importCsvIntoEditor(*this);
}

void RecordEditor::cmdTrovaClick()
{
    showSearch(*this, QStringLiteral("cartoline"), listStatistics());
}

void RecordEditor::cmdCercaDisponibiliClick()
{
    showForSale(*this, listStatistics());
}

void RecordEditor::cmdSlideShowClick()
{
    showSlideshow(*this);
}

OpenListStatistics RecordEditor::listStatistics()
{
    return [this](QWidget* over, const ListedGames& games) {
        return statistics::showStatistics(*this, over, {games.listed, games.one, games.many, games.count});
    };
}

void RecordEditor::cmdStatisticheClick()
{
    statistics::showStatistics(*this, this, statistics::StatisticsCoverage::wholeArchive());
}

void RecordEditor::cmdAnteprimaClick()
{
    showCardPreview(*this);
}

void RecordEditor::cmdStampaClick()
{
    showCardPrint(*this);
}

void RecordEditor::cmdGuidaClick()
{
    help::showHelp(this, help::HelpTopic::Editor);
}

void RecordEditor::cmdEsciClick()
{
    close();
}

} // namespace brivanto
