#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace brivanto {

class RecordEditorAccess;

// The three attached files of the record on the editor: each slot names a copy in the
// attachments folder and carries a description. Browsing copies a file there at once; the names
// and descriptions reach the editor only with "Applica e chiudi".
class AttachmentsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AttachmentsDialog(RecordEditorAccess& editor);

    // Who opened the screen: the values go back to the editor only when it is "cartoline".
    void setCallerTag(const QString& tag);

private:
    struct Slot
    {
        QLineEdit* txtFile = nullptr;
        QPushButton* btnSfoglia = nullptr;
        QPushButton* btnApri = nullptr;
        QLineEdit* txtDesc = nullptr;
    };
    void buildSlot(int index);
    void btnSfogliaClick(int index);
    void btnApriClick(int index);
    void imgCancellaClick(int index);
    void btnApplicaClick();
    void btnAnnullaClick();

    RecordEditorAccess& editor_;
    std::array<Slot, 3> slots_;
    QLabel* callerTag_ = nullptr;
};

// Opens a fresh attachments screen over the editor with the caller tag "cartoline", modally,
// and discards it when it closes.
void showAttachments(RecordEditorAccess& editor);

} // namespace brivanto
