#pragma once

#include "editor/PhotoFile.h"
#include "storage/GameRecord.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <array>

class QWidget;

namespace brivanto {

// The names and descriptions of the three attached files of the record on screen.
struct AttachmentLabels
{
    std::array<QString, 3> files;
    std::array<QString, 3> descriptions;
    bool operator==(const AttachmentLabels&) const = default;
};

// What the screens opened from the record editor (search, for-sale list, attachments, printing,
// export, capture, slideshow) may read and write of it. They never reach into its controls, so
// the editor can change its layout freely; the editor's controls stay the record's only copy.
class RecordEditorAccess
{
public:
    virtual ~RecordEditorAccess() = default;

    // The window that owns the screens opened from the editor.
    virtual QWidget* owner() = 0;

    // The archive on the editor: its full path and its name, trimmed.
    virtual QString archiveFile() const = 0;
    virtual QString archiveName() const = 0;
    // The position of the record on screen, as shown: empty for a new record.
    virtual QString position() const = 0;
    // The 21 field texts in record order, as typed (untrimmed).
    virtual QStringList fieldTexts() const = 0;
    virtual bool forSale() const = 0;
    virtual AttachmentLabels attachments() const = 0;
    virtual void setAttachments(const AttachmentLabels& labels) = 0;

    // Puts a record with its position on the editor, then loads its photos. Callers close the
    // archive first.
    virtual void ShowRecord(const GameRecord& record, int position) = 0;
    // Before another record replaces the one on screen: when the screen holds changes not saved,
    // asks whether to save them. True when the caller may go on (saved, or the user chose not to
    // save, or nothing had changed); false when the user cancelled or the save failed.
    virtual bool offerToSaveChanges() = 0;

    // A copy of a slot's picture at full resolution; a picture put into a slot reaches its
    // photo file at the next save.
    virtual QImage photo(PhotoSlotId slot) const = 0;
    virtual void putPhoto(PhotoSlotId slot, const QImage& picture) = 0;
};

} // namespace brivanto
