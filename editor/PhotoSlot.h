#pragma once

#include "editor/PhotoFile.h"

#include <QWidget>

#include <optional>

namespace brivanto {

namespace platform {
class PhotoView;
}

// One photo slot of the record editor: the framed picture, its hidden default picture, its
// number and its column of five buttons (load, capture, save a copy, clear, zoom).
//
// The slot remembers which photo file already holds its picture (read from it, or written to
// it), so that saving the record leaves that file as it is instead of re-encoding it, and which
// photo file it could not read, so that a save never puts the default picture over it.
class PhotoSlot : public QWidget
{
    Q_OBJECT
public:
    PhotoSlot(PhotoSlotId id, QWidget* parent);

    PhotoSlotId id() const { return id_; }
    // The caller tag that tells the capture screen which slot to fill.
    QString captureTag() const;

    // A copy of the picture the slot shows, with the bytes of the JPEG file it came from.
    Photo photo() const { return photo_; }
    // A new picture (from the capture screen): it reaches its photo file at the next save.
    void putPicture(const QImage& picture);
    void showDefaultPicture();

    // Reads the slot's photo file; a missing or unreadable file gives the default picture.
    void loadPhotoFile(const QString& path);
    // The bytes a save writes to the photo file at `path`: none when that file already holds
    // the slot's picture, or could not be read (it may hold a photo another program can read).
    // An empty `path` (a record not yet in the archive) always gets the picture.
    std::optional<QByteArray> bytesToSave(const QString& path) const;
    // The photo file at `path` now holds the slot's picture.
    void markSavedTo(const QString& path) { keptFile_ = path; }

    // Whether the user changed the picture (loaded, captured or cleared it) since markUnchanged.
    bool isModified() const { return modified_; }
    void markUnchanged() { modified_ = false; }

Q_SIGNALS:
    void captureRequested();

private:
    void btnCaricaFotoClick();
    void btnSalvaFotoClick();
    void btnCancFotoClick();
    void btnZoomFotoClick();
    void show(const Photo& photo, const QString& keptFile);

    PhotoSlotId id_;
    platform::PhotoView* imgFoto_;
    platform::PhotoView* imgBianco_;
    Photo photo_;
    QString keptFile_;
    bool modified_ = false;
};

} // namespace brivanto
