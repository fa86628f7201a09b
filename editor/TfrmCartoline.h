#pragma once

#include "editor/EditorFields.h"
#include "editor/PhotoFile.h"
#include "storage/GameRecord.h"

#include <QHash>
#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brivanto {

class PhotoSlot;

// The names and descriptions of the three attached files of the record on screen.
struct AttachmentLabels
{
    std::array<QString, 3> files;
    std::array<QString, 3> descriptions;
};

// The record editor: one game record of the open archive at a time, in 21 edits, the for-sale
// box, six hidden attachment labels and two photo slots. The controls are the record: there is no
// other copy of it. Other screens reach it only through the public methods below, never through
// its child controls, so the layout can change freely.
class TfrmCartoline : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmCartoline(QWidget* parent = nullptr);

    // The archive this screen works on, handed over by the open-archive screen.
    void setArchive(const QString& file, const QString& name);
    QString archiveFile() const; // full path, trimmed
    QString archiveName() const; // trimmed

    // The position of the record on screen, as shown: empty for a new record.
    QString position() const;
    // The 21 field texts in record order, as typed (untrimmed).
    QStringList fieldTexts() const;
    bool forSale() const;
    AttachmentLabels attachments() const;
    void setAttachments(const AttachmentLabels& labels);

    // Puts a record with its position on the screen, then loads its photos. Callers close the
    // archive before calling it.
    void ShowRecord(const GameRecord& record, int position);
    // Empties the screen for a new record.
    void ClearRecordScreen();

    // A copy of a slot's picture; a picture put into a slot reaches its file at the next save.
    QImage photo(PhotoSlotId slot) const;
    void putPhoto(PhotoSlotId slot, const QImage& picture);

Q_SIGNALS:
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolbar(QWidget* panel);
    void buildFieldPanel(QWidget* panel);
    void buildStatusStrip(QWidget* panel);
    void watchHints(QWidget* control, const QString& hint);
    void showHintAt(QPoint global);
    bool filterMarketValueKey(QKeyEvent* event);

    // Toolbar handlers.
    void cmdNuovoClick();
    void cmdSalvaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
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
    void LoadRecordPhotos();
    bool SaveRecordPhotos();
    QString photoPath(PhotoSlotId slot) const;
    PhotoSlot* slot(PhotoSlotId id) const { return id == PhotoSlotId::A ? slotA_ : slotB_; }
    GameRecord recordFromScreen();

    std::array<QLineEdit*, EditorFieldCount> edits_{};
    QLineEdit* txtValore_ = nullptr;
    QCheckBox* chkInVendita_ = nullptr;
    QLabel* lblFile_ = nullptr;
    QLabel* lblNome_ = nullptr;
    QLabel* lblPosizione_ = nullptr;
    QLabel* panInfo_ = nullptr;
    std::array<QLabel*, 3> lblFiles_{};
    std::array<QLabel*, 3> lblDescs_{};
    QPushButton* btnFocus_ = nullptr;
    PhotoSlot* slotA_ = nullptr;
    PhotoSlot* slotB_ = nullptr;
    QHash<QObject*, QString> hints_;
    // The record buffer: browsing reads into it and saving fills it from the screen.
    GameRecord buffer_{};
};

} // namespace brivanto
