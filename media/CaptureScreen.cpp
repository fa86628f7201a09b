#include "media/CaptureScreen.h"

#include "editor/RecordEditorAccess.h"
#include "media/PhotoCopy.h"
#include "platform/Camera.h"
#include "platform/PhotoView.h"
#include "platform/PictureBox.h"
#include "platform/ScreenKeys.h"
#include "shell/Screen.h"
#include "storage/FieldText.h"

#include <QFrame>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>

namespace brivanto {

using platform::PhotoView;

namespace {
constexpr QSize PictureSize(366, 274);
constexpr int FrameMargin = 4;
constexpr QSize FrameSize = PictureSize + QSize(2 * FrameMargin, 2 * FrameMargin);
constexpr int LeftX = 24;
constexpr int RightX = 409;
constexpr int FrameY = 16;
constexpr int ButtonHeight = 34;
constexpr int FirstRowY = FrameY + 282 + 12;
constexpr int SecondRowY = FirstRowY + ButtonHeight + 10;
constexpr int HalfWidth = (374 - 10) / 2;
constexpr int NoticeHeight = 26;

// Said when switching on finds no camera support at all, unlike a missing camera, which only
// leaves the illustration in place.
const QString NoSupportNotice = QStringLiteral("Il supporto per la webcam non \u00E8 installato.");

QImage illustration(const char* resource)
{
    return platform::resourcePicture(QLatin1String(resource), PictureSize)
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

PhotoView* framedPicture(const char* frameName, const char* pictureName, int x, QWidget* parent)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(frameName));
    frame->setGeometry(QRect(QPoint(x, FrameY), FrameSize));
    frame->setStyleSheet(QStringLiteral("QFrame#%1 { background: #FFFFFF; border: 1px solid #1A7A89; "
                                        "border-radius: 6px; }")
                             .arg(frame->objectName()));
    auto* picture = new PhotoView(QLatin1String(pictureName), frame);
    picture->setGeometry(QRect(QPoint(FrameMargin, FrameMargin), PictureSize));
    return picture;
}
} // namespace

CaptureScreen::CaptureScreen(RecordEditorAccess& editor)
    : QDialog(editor.owner()), editor_(editor), camCamera_(platform::Cameras::current().defaultCamera())
{
    prepareScreen(this, QStringLiteral("TfrmWebCam"), QStringLiteral(" Cattura foto con webcam"));
    makeFixedDialogWindow(this, 807, 405);
    setModal(true);

    imgCamera_ = framedPicture("panCamera", "imgCamera", LeftX, this);
    imgTarget_ = framedPicture("panTarget", "imgTarget", RightX, this);
    imgCamera_->setAccessibleName(QStringLiteral("Immagine della webcam"));
    imgTarget_->setAccessibleName(QStringLiteral("Foto acquisita"));
    imgBianco_ = new PhotoView(QStringLiteral("imgBianco"), this);
    imgBianco_->setImage(illustration(":/media/webcam.svg"));
    imgBianco_->hide();
    imgCamera_->setImage(imgBianco_->image());
    imgTarget_->setImage(illustration(":/media/fotocamera.svg"));
    callerTag_ = new QLabel(this);
    callerTag_->setObjectName(QStringLiteral("lblMemory"));
    callerTag_->hide();
    // One line along the bottom of the live view, over the illustration.
    lblSupporto_ = new QLabel(NoSupportNotice, imgCamera_->parentWidget());
    lblSupporto_->setObjectName(QStringLiteral("lblSupportoWebcam"));
    lblSupporto_->setGeometry(FrameMargin, FrameMargin + PictureSize.height() - NoticeHeight,
                              PictureSize.width(), NoticeHeight);
    lblSupporto_->setAlignment(Qt::AlignCenter);
    lblSupporto_->setFont(QFont(QStringLiteral("Verdana"), 9, QFont::Bold));
    lblSupporto_->setStyleSheet(QStringLiteral("QLabel { background: #FFF4DC; color: #7A4A00; }"));
    lblSupporto_->hide();

    struct Button
    {
        const char* name;
        const char16_t* text;
        QRect geometry;
        void (CaptureScreen::*handler)();
    };
    // In tab order.
    const Button buttons[] = {
        {"btnAccendi",
         u"Accendi webcam",
         {LeftX, FirstRowY, FrameSize.width(), ButtonHeight},
         &CaptureScreen::btnAccendiClick},
        {"btnCattura",
         u"Cattura foto",
         {RightX, FirstRowY, HalfWidth, ButtonHeight},
         &CaptureScreen::btnCatturaClick},
        {"btnSalvaFotogramma",
         u"Salva foto su disco",
         {RightX + FrameSize.width() - HalfWidth, FirstRowY, HalfWidth, ButtonHeight},
         &CaptureScreen::btnSalvaFotogrammaClick},
        {"btnSpegni",
         u"Spegni webcam",
         {LeftX, SecondRowY, FrameSize.width(), ButtonHeight},
         &CaptureScreen::btnSpegniClick},
        {"btnImportaFoto",
         u"Importa foto in scheda",
         {RightX, SecondRowY, HalfWidth, ButtonHeight},
         &CaptureScreen::btnImportaFotoClick},
        {"btnClose",
         u"Annulla",
         {RightX + FrameSize.width() - HalfWidth, SecondRowY, HalfWidth, ButtonHeight},
         &CaptureScreen::btnCloseClick},
    };
    QWidget* previous = nullptr;
    for (const Button& button : buttons) {
        auto* control = new QPushButton(QString::fromUtf16(button.text), this);
        control->setObjectName(QLatin1String(button.name));
        control->setFont(QFont(QStringLiteral("Verdana"), 10));
        control->setCursor(Qt::PointingHandCursor);
        control->setGeometry(button.geometry);
        connect(control, &QPushButton::clicked, this, button.handler);
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }

    connect(camCamera_.get(), &platform::Camera::frameReady, this, &CaptureScreen::cameraFrame);
    platform::applyScreenKeys(this, {.escape = [this] { btnCloseClick(); }});
}

CaptureScreen::~CaptureScreen()
{
    camCamera_->setActive(false);
}

void CaptureScreen::setCallerTag(const QString& tag)
{
    callerTag_->setText(tag);
}

QString CaptureScreen::callerTag() const
{
    return callerTag_->text();
}

void CaptureScreen::btnAccendiClick()
{
    camCamera_->setActive(true);
    lblSupporto_->setVisible(!camCamera_->isInstalled());
}

void CaptureScreen::btnSpegniClick()
{
    camCamera_->setActive(false);
}

// The frame arrives whole on this thread; the live view keeps it at its own size.
void CaptureScreen::cameraFrame(const QImage& frame)
{
    imgCamera_->setImage(frame);
}

void CaptureScreen::btnCatturaClick()
{
    imgTarget_->setImage(imgCamera_->image().copy());
}

void CaptureScreen::btnSalvaFotogrammaClick()
{
    savePhotoCopy(this, Photo{imgTarget_->image(), {}});
}

void CaptureScreen::btnImportaFotoClick()
{
    camCamera_->setActive(false);
    const QString tag = trimmed(callerTag());
    if (tag == QLatin1String("foto01"))
        editor_.putPhoto(PhotoSlotId::A, imgTarget_->image());
    else if (tag == QLatin1String("foto02"))
        editor_.putPhoto(PhotoSlotId::B, imgTarget_->image());
    accept();
}

void CaptureScreen::btnCloseClick()
{
    camCamera_->setActive(false);
    QDialog::reject();
}

void CaptureScreen::reject()
{
    btnCloseClick();
}

void CaptureScreen::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        camCamera_->setActive(false);
}

void showCapture(RecordEditorAccess& editor, const QString& tag)
{
    auto* capture = new CaptureScreen(editor);
    capture->setCallerTag(tag);
    capture->exec();
    delete capture;
}

} // namespace brivanto
