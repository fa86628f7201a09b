#pragma once

#include "editor/EditorFields.h"
#include "editor/EditorKeys.h"
#include "editor/RecordEditorAccess.h"
#include "platform/MessageBoxes.h"
#include "search/ListStatistics.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brivanto {

class GameArchive;
class HintLine;
class PhotoSlot;

// The record editor: one game record of the open archive at a time, in 21 edits, the for-sale
// box, six hidden attachment labels and two photo slots. The controls are the record: there is no
// other copy of it. Other screens reach it only through RecordEditorAccess, never through its child
// controls, so the layout can change freely.
class RecordEditor : public QWidget, public RecordEditorAccess
{
    Q_OBJECT
public:
    explicit RecordEditor(QWidget* parent = nullptr);

    // The archive this screen works on, handed over by the open-archive screen.
    void setArchive(const QString& file, const QString& name);
    // Empties the screen for a new record.
    void ClearRecordScreen();

    // RecordEditorAccess
    QWidget* owner() override { return this; }
    QString archiveFile() const override;
    QString archiveName() const override;
    QString position() const override;
    QStringList fieldTexts() const override;
    bool forSale() const override;
    AttachmentLabels attachments() const override;
    void setAttachments(const AttachmentLabels& labels) override;
    void ShowRecord(const GameRecord& record, int position) override;
    bool offerToSaveChanges() override;
    QImage photo(PhotoSlotId slot) const override;
    void putPhoto(PhotoSlotId slot, const QImage& picture) override;

Q_SIGNALS:
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void run(EditorAction action);
    void buildToolbar(QWidget* panel);
    void buildFieldPanel(QWidget* panel);
    void buildStatusStrip(QWidget* panel);
    bool filterMarketValueKey(QKeyEvent* event);

    // Toolbar handlers.
    void cmdNuovoClick();
    void cmdSalvaClick();
    void cmdTrovaClick();
    void cmdCercaDisponibiliClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdFileClick();
    void cmdEsportaClick();
    void cmdImportaClick();
    void cmdEliminaClick();
    void cmdSlideShowClick();
    void cmdStatisticheClick();
    // How the search and for-sale lists open the statistics of their games.
    OpenListStatistics listStatistics();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void txtValoreExit();

    enum class Browse
    {
        First,
        Previous,
        Next,
        Last
    };
    // One press of a browse button: at most one record read and shown, with its photos.
    void browse(Browse direction);
    // The position a browse would show, 0 for none (with the notice of an empty archive).
    int browseTarget(Browse direction);
    platform::Answer askToSaveChanges();
    void LoadRecordPhotos();
    // The archive on screen with its photos: every change to it goes through here.
    GameArchive gameArchive() const;
    QString photoPath(PhotoSlotId slot) const;
    PhotoSlot* slot(PhotoSlotId id) const { return id == PhotoSlotId::A ? slotA_ : slotB_; }
    GameRecord recordFromScreen();
    // Saves the screen with every check of the save button; false when a check or a write failed.
    bool saveRecord();
    // After a save refused because another workstation changed or moved the record at
    // `position`: saves the screen as a new record, reloads the record, or stays, as the user
    // chooses. True only when the screen was saved.
    bool resolveStaleSave(int position);
    // Shows the record at `position`, or the last one when the archive is now shorter, or an empty
    // screen when it holds none. Throws ArchiveError.
    void showRecordAtOrBefore(int position);

    // What the screen held when it was last shown, cleared or saved: the question before leaving a
    // record compares the screen with it.
    struct ScreenValues
    {
        QStringList fields;
        bool forSale = false;
        AttachmentLabels attachments;
        bool operator==(const ScreenValues&) const = default;
    };
    ScreenValues screenValues() const;
    void rememberScreenAsUnchanged();
    bool hasUnsavedChanges() const;

    std::array<QLineEdit*, EditorFieldCount> edits_{};
    QLineEdit* txtValore_ = nullptr;
    QCheckBox* chkInVendita_ = nullptr;
    QLabel* lblFile_ = nullptr;
    QLabel* lblNome_ = nullptr;
    QLabel* lblPosizione_ = nullptr;
    QLabel* panInfo_ = nullptr;
    std::array<QLabel*, 3> lblFiles_{};
    std::array<QLabel*, 3> lblDescs_{};
    std::array<QWidget*, static_cast<std::size_t>(EditorAction::Exit) + 1> toolButtons_{};
    PhotoSlot* slotA_ = nullptr;
    PhotoSlot* slotB_ = nullptr;
    HintLine* hints_ = nullptr;
    // The record buffer: browsing reads into it and saving fills it from the screen.
    GameRecord buffer_{};
    // The record at the shown position as it was read or last saved: a save or a deletion goes
    // ahead only while the archive still holds exactly these bytes there.
    GameRecord loaded_{};
    ScreenValues unchanged_;
};

} // namespace brivanto
