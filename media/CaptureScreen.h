#pragma once

#include <QDialog>

#include <memory>

class QLabel;

namespace brivanto {

class RecordEditorAccess;

namespace platform {
class Camera;
class PhotoView;
} // namespace platform

// The capture screen: the live camera image on the left, the captured picture on the right. It
// is opened by a photo slot of the record editor with the caller tag that names the slot
// ("foto01" for A, "foto02" for B) and imports the captured picture into that slot. The camera
// is off when the screen opens and whenever it goes away.
class CaptureScreen : public QDialog
{
    Q_OBJECT
public:
    explicit CaptureScreen(RecordEditorAccess& editor);
    ~CaptureScreen() override;

    void setCallerTag(const QString& tag);
    QString callerTag() const;

public Q_SLOTS:
    // As "Annulla": the camera goes off.
    void reject() override;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void btnAccendiClick();
    void btnSpegniClick();
    void btnCatturaClick();
    void btnSalvaFotogrammaClick();
    void btnImportaFotoClick();
    void btnCloseClick();
    void cameraFrame(const QImage& frame);

    RecordEditorAccess& editor_;
    platform::PhotoView* imgCamera_;
    platform::PhotoView* imgTarget_;
    platform::PhotoView* imgBianco_;
    QLabel* callerTag_;
    QLabel* lblSupporto_; // shown while the camera support is not installed
    std::unique_ptr<platform::Camera> camCamera_;
};

// Opens a fresh capture screen owned by the editor for the slot named by `tag`, modally, and
// discards it.
void showCapture(RecordEditorAccess& editor, const QString& tag);

} // namespace brivanto
