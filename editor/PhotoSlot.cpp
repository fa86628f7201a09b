#include "editor/PhotoSlot.h"

#include "media/PhotoCopy.h"
#include "media/ZoomWindow.h"
#include "platform/FileDialogs.h"
#include "platform/PhotoView.h"
#include "platform/PictureBox.h"

#include <QFrame>

namespace brivanto {

using platform::PhotoView;
using platform::PictureBox;
using platform::PictureButton;

namespace {
constexpr QSize PictureSize(366, 260);
constexpr int FrameMargin = 4;
constexpr int ColumnX = PictureSize.width() + 2 * FrameMargin + 8;

QString suffixed(const char* name, PhotoSlotId id)
{
    return QLatin1String(name) + (id == PhotoSlotId::B ? QStringLiteral("02") : QString());
}

QImage defaultPicture(PhotoSlotId id)
{
    const QString resource =
        id == PhotoSlotId::A ? QStringLiteral(":/photos/foto_a.svg") : QStringLiteral(":/photos/foto_b.svg");
    return platform::resourcePicture(resource, PictureSize).toImage().convertToFormat(QImage::Format_RGB32);
}
} // namespace

PhotoSlot::PhotoSlot(PhotoSlotId id, QWidget* parent) : QWidget(parent), id_(id)
{
    setObjectName(id == PhotoSlotId::A ? QStringLiteral("panFoto") : QStringLiteral("panFoto02"));
    auto* frame = new QFrame(this);
    frame->setObjectName(suffixed("shpFoto", id));
    frame->setGeometry(0, 0, PictureSize.width() + 2 * FrameMargin, PictureSize.height() + 2 * FrameMargin);
    frame->setStyleSheet(QStringLiteral("QFrame { background: #FFFFFF; border-radius: 6px; }"));

    imgFoto_ =
        new PhotoView(id == PhotoSlotId::A ? QStringLiteral("imgFoto") : QStringLiteral("imgFoto02"), frame);
    imgFoto_->setGeometry(QRect(QPoint(FrameMargin, FrameMargin), PictureSize));
    // The slot, its photo and its buttons say which of the two photos they hold; the buttons'
    // hints describe them.
    const int photoNumber = id == PhotoSlotId::A ? 1 : 2;
    const QString photoName = QStringLiteral("Foto %1").arg(photoNumber);
    setAccessibleName(photoName);
    imgFoto_->setAccessibleName(photoName + QStringLiteral(" del gioco"));
    imgBianco_ = new PhotoView(
        id == PhotoSlotId::A ? QStringLiteral("imgBianco") : QStringLiteral("imgBianco02"), this);
    imgBianco_->setImage(defaultPicture(id));
    imgBianco_->hide();

    auto* number = new PictureBox(id == PhotoSlotId::A ? QStringLiteral("ico01") : QStringLiteral("ico02"),
                                  id == PhotoSlotId::A ? QStringLiteral(":/editor/numero_1.svg")
                                                       : QStringLiteral(":/editor/numero_2.svg"),
                                  this);
    number->move(ColumnX + 2, 0);

    struct Button
    {
        const char* name;
        const char* picture;
        const char16_t* accessibleName; // %1: the photo's number
        void (PhotoSlot::*handler)();
    };
    const Button buttons[] = {
        {"btnCaricaFoto", ":/editor/carica_foto.svg", u"Carica la foto %1", &PhotoSlot::btnCaricaFotoClick},
        {"btnAcquisisciFoto", ":/editor/acquisisci_foto.svg", u"Acquisisci la foto %1",
         &PhotoSlot::captureRequested},
        {"btnSalvaFoto", ":/editor/salva_foto.svg", u"Salva la foto %1", &PhotoSlot::btnSalvaFotoClick},
        {"btnCancFoto", ":/editor/cancella_foto.svg", u"Cancella la foto %1", &PhotoSlot::btnCancFotoClick},
        {"btnZoomFoto", ":/editor/zoom_foto.svg", u"Ingrandisci la foto %1", &PhotoSlot::btnZoomFotoClick},
    };
    int y = 38;
    for (const Button& button : buttons) {
        auto* control = new PictureButton(suffixed(button.name, id), QLatin1String(button.picture), this);
        control->setAccessibleName(QString::fromUtf16(button.accessibleName).arg(photoNumber));
        control->move(ColumnX, y);
        y += 46;
        connect(control, &PictureButton::clicked, this, button.handler);
    }
    setFixedSize(ColumnX + 32, frame->height());
    showDefaultPicture();
}

QString PhotoSlot::captureTag() const
{
    return id_ == PhotoSlotId::A ? QStringLiteral("foto01") : QStringLiteral("foto02");
}

void PhotoSlot::show(const Photo& photo, const QString& keptFile)
{
    photo_ = photo;
    keptFile_ = keptFile;
    imgFoto_->setImage(photo_.image);
}

void PhotoSlot::putPicture(const QImage& picture)
{
    show(Photo{picture, {}}, {});
    modified_ = true;
}

void PhotoSlot::showDefaultPicture()
{
    // A copy of the default picture, encoded anew when it is saved.
    show(Photo{imgBianco_->image().copy(), {}}, {});
}

void PhotoSlot::loadPhotoFile(const QString& path)
{
    const PhotoRead read = path.isEmpty() ? PhotoRead{PhotoReadStatus::Missing, {}} : readPhoto(path);
    switch (read.status) {
    case PhotoReadStatus::Read:
        show(read.photo, path);
        break;
    case PhotoReadStatus::Missing:
        showDefaultPicture();
        break;
    case PhotoReadStatus::Unreadable:
        // The file may still hold a photo that another program can read: never save over it
        // with the default picture.
        show(Photo{imgBianco_->image().copy(), {}}, path);
        break;
    }
}

std::optional<QByteArray> PhotoSlot::bytesToSave(const QString& path) const
{
    if (!path.isEmpty() && path == keptFile_)
        return std::nullopt;
    return photoJpegBytes(photo_);
}

void PhotoSlot::btnCaricaFotoClick()
{
    platform::FileDialogRequest request;
    request.title = QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap.");
    request.filters = QStringList{QStringLiteral("Immagine JPEG (*.jpg; *.jpeg)"),
                                  QStringLiteral("Immagine Bitmap (*.bmp)")};
    request.askBeforeReplacing = false;
    const QString chosen = platform::Dialogs::current().openFile(window(), request);
    if (chosen.isEmpty())
        return;
    const PhotoRead read = readPhoto(chosen);
    if (read.status == PhotoReadStatus::Read)
        show(read.photo, {});
    else
        showDefaultPicture();
    modified_ = true;
}

void PhotoSlot::btnSalvaFotoClick()
{
    savePhotoCopy(window(), photo_);
}

void PhotoSlot::btnCancFotoClick()
{
    // Clearing a slot that shows its default picture and no photo file changes nothing.
    if (!keptFile_.isEmpty() || photo_.image != imgBianco_->image())
        modified_ = true;
    showDefaultPicture();
}

void PhotoSlot::btnZoomFotoClick()
{
    showZoom(window(), photo_.image);
}

} // namespace brivanto
