#include "media/TfrmSlideshow_Euro_01.h"

#include "editor/PhotoFile.h"
#include "editor/RecordEditor.h"
#include "platform/MessageBoxes.h"
#include "platform/PhotoView.h"
#include "platform/PictureBox.h"
#include "platform/Timer.h"
#include "shell/Screen.h"
#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

namespace brivanto {

using platform::PhotoView;

TfrmSlideshow_Euro_01::TfrmSlideshow_Euro_01(RecordEditor& editor)
    : QDialog(editor.owner()), editor_(editor), timer_(platform::Timers::current().create())
{
    prepareScreen(this, QStringLiteral("TfrmSlideshow_Euro_01"),
                  QStringLiteral(" Slide Show Giochi da Tavolo"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setAutoFillBackground(true);
    setPalette(QPalette(QColor(0xFF, 0xF8, 0xEC)));

    panContainer_ = new QWidget(this);
    panContainer_->setObjectName(QStringLiteral("panContainer"));
    panContainer_->setCursor(Qt::PointingHandCursor);
    panContainer_->installEventFilter(this);
    imgFoto_ = new PhotoView(QStringLiteral("imgFoto"), panContainer_);
    connect(imgFoto_, &PhotoView::clicked, this, &QDialog::accept);
    imgBianco_ = new PhotoView(QStringLiteral("imgBianco"), this);
    imgBianco_->setImage(
        platform::resourcePicture(QStringLiteral(":/media/avvio_slideshow.svg"), QSize(677, 184))
            .toImage()
            .convertToFormat(QImage::Format_RGB32));
    imgBianco_->hide();
    lblPosizione_ = new QLabel(this);
    lblPosizione_->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione_->hide();
    cmdAvanti_ = new QPushButton(this);
    cmdAvanti_->setObjectName(QStringLiteral("cmdAvanti"));
    cmdAvanti_->hide();
    connect(cmdAvanti_, &QPushButton::clicked, this, &TfrmSlideshow_Euro_01::cmdAvantiClick);
    connect(timer_.get(), &platform::RepeatingTimer::timeout, cmdAvanti_, &QPushButton::click);

    auto* centring = new QGridLayout(this);
    centring->setContentsMargins(0, 0, 0, 0);
    centring->addWidget(panContainer_, 0, 0, Qt::AlignCenter);
}

TfrmSlideshow_Euro_01::~TfrmSlideshow_Euro_01() = default;

void TfrmSlideshow_Euro_01::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Restoring the minimised window carries on where the show was.
    if (event->spontaneous())
        return;
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize area = screen->size() - QSize(60, 90);
    panContainer_->setFixedSize(area);
    imgFoto_->setGeometry(QRect(QPoint(0, 0), area));
    imgFoto_->setImage(imgBianco_->image());
    timer_->start(IntervalMs);
}

void TfrmSlideshow_Euro_01::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        timer_->stop();
}

bool TfrmSlideshow_Euro_01::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == panContainer_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmSlideshow_Euro_01::cmdAvantiClick()
{
    if (errorShown_)
        return;
    QString shown;
    try {
        ArchiveFile archive;
        archive.Open(editor_.archiveFile(), ArchiveFile::Access::Read);
        if (trimmed(lblPosizione_->text()).isEmpty())
            lblPosizione_->setText(QStringLiteral("0"));
        const int shownSoFar = trimmed(lblPosizione_->text()).toInt();
        const int count = archive.RecordCount();
        if (count == 0) {
            lblPosizione_->clear();
            archive.Close();
            timer_->stop();
            platform::information(this, QStringLiteral("L'archivio non contiene nessuna scheda."));
            accept();
            return;
        }
        if (shownSoFar < count) {
            GameRecord record;
            archive.Seek(shownSoFar);
            archive.Read(record);
            shown = QString::number(archive.Pointer());
            lblPosizione_->setText(shown);
            archive.Close();
        } else {
            // The end of the pass; an archive that became shorter ends it as well. The last photo
            // stays for one more interval.
            lblPosizione_->setText(QStringLiteral("0"));
            archive.Close();
        }
    } catch (const ArchiveError&) {
        errorShown_ = true;
        platform::error(this, archiveAccessErrorText());
        errorShown_ = false;
        return;
    }
    if (!shown.isEmpty())
        showPhotoOf(shown);
}

void TfrmSlideshow_Euro_01::showPhotoOf(const QString& position)
{
    ensurePhotoFolder();
    const PhotoRead read = readPhoto(photoFilePath(editor_.archiveName(), position, PhotoSlotId::A));
    imgFoto_->setImage(read.status == PhotoReadStatus::Read ? read.photo.image : imgBianco_->image());
}

void showSlideshow(RecordEditor& editor)
{
    auto* slideshow = new TfrmSlideshow_Euro_01(editor);
    // Without a window manager nothing would maximise the window: give it the screen first.
    if (const QScreen* screen = editor.owner() ? editor.owner()->screen() : QGuiApplication::primaryScreen())
        slideshow->setGeometry(screen->availableGeometry());
    slideshow->setWindowState(Qt::WindowMaximized);
    slideshow->exec();
    delete slideshow;
}

} // namespace brivanto
