#include "media/Slideshow.h"

#include "editor/PhotoFile.h"
#include "editor/RecordEditorAccess.h"
#include "platform/MessageBoxes.h"
#include "platform/PhotoView.h"
#include "platform/PictureBox.h"
#include "platform/Timer.h"
#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"
#include "storage/GameArchive.h"

#include <QHideEvent>
#include <QLabel>
#include <QPushButton>

namespace brivanto {

using platform::PhotoView;

Slideshow::Slideshow(RecordEditorAccess& editor)
    : PhotoWindow(editor.owner(), QStringLiteral("TfrmSlideshow_Euro_01"),
                  QStringLiteral(" Slide Show Giochi da Tavolo")),
      editor_(editor), timer_(platform::Timers::current().create())
{
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
    connect(cmdAvanti_, &QPushButton::clicked, this, &Slideshow::cmdAvantiClick);
    connect(timer_.get(), &platform::RepeatingTimer::timeout, cmdAvanti_, &QPushButton::click);
}

Slideshow::~Slideshow() = default;

void Slideshow::started()
{
    imgFoto()->setImage(imgBianco_->image());
    timer_->start(IntervalMs);
}

void Slideshow::hideEvent(QHideEvent* event)
{
    PhotoWindow::hideEvent(event);
    if (!event->spontaneous())
        timer_->stop();
}

void Slideshow::cmdAvantiClick()
{
    if (errorShown_)
        return;
    QString shown;
    try {
        ArchiveFile archive;
        GameArchive::openForReading(archive, editor_.archiveFile());
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

void Slideshow::showPhotoOf(const QString& position)
{
    ensurePhotoFolder();
    const PhotoRead read = readPhoto(photoFilePath(editor_.archiveName(), position, PhotoSlotId::A));
    imgFoto()->setImage(read.status == PhotoReadStatus::Read ? read.photo.image : imgBianco_->image());
}

void showSlideshow(RecordEditorAccess& editor)
{
    runMaximised(editor.owner(), new Slideshow(editor));
}

} // namespace brivanto
