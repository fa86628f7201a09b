#pragma once

#include "media/PhotoWindow.h"

#include <memory>

class QLabel;
class QPushButton;

namespace brivanto {

class RecordEditorAccess;

namespace platform {
class PhotoView;
class RepeatingTimer;
} // namespace platform

// The slideshow: photo A of every record of the editor's archive, one every six seconds, in a
// maximised window, round and round until the user clicks on the photo or its panel or closes
// the window. The start banner comes first and stands in for any photo that cannot be read.
class Slideshow : public PhotoWindow
{
    Q_OBJECT
public:
    static constexpr int IntervalMs = 6000;

    explicit Slideshow(RecordEditorAccess& editor);
    ~Slideshow() override;

protected:
    void started() override;
    void hideEvent(QHideEvent* event) override;

private:
    // The advance, at every tick of the timer: the next record's photo, or the end of the pass.
    void cmdAvantiClick();
    void showPhotoOf(const QString& position);

    RecordEditorAccess& editor_;
    platform::PhotoView* imgBianco_;
    QLabel* lblPosizione_;
    QPushButton* cmdAvanti_;
    std::unique_ptr<platform::RepeatingTimer> timer_;
    // While the archive access error is on screen, the ticks that fire under it add no box.
    bool errorShown_ = false;
};

// Opens a fresh slideshow owned by the editor, maximised and modal, and discards it.
void showSlideshow(RecordEditorAccess& editor);

} // namespace brivanto
