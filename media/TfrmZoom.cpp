#include "media/TfrmZoom.h"

#include "platform/PhotoView.h"

#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

namespace brivanto {

TfrmZoom::TfrmZoom(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("TfrmZoom"));
    setWindowTitle(QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setAutoFillBackground(true);
    setPalette(QPalette(QColor(0xFF, 0xF8, 0xEC)));

    panContainer_ = new QWidget(this);
    panContainer_->setObjectName(QStringLiteral("panContainer"));
    panContainer_->installEventFilter(this);
    imgFoto_ = new platform::PhotoView(QStringLiteral("imgFoto"), panContainer_);
    imgFoto_->setCursor(Qt::PointingHandCursor);
    connect(imgFoto_, &platform::PhotoView::clicked, this, &QDialog::accept);

    auto* centring = new QGridLayout(this);
    centring->setContentsMargins(0, 0, 0, 0);
    centring->addWidget(panContainer_, 0, 0, Qt::AlignCenter);
}

void TfrmZoom::setPhoto(const QImage& photo)
{
    imgFoto_->setImage(photo.copy());
}

void TfrmZoom::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize area = screen->size() - QSize(60, 90);
    panContainer_->setFixedSize(area);
    imgFoto_->setGeometry(QRect(QPoint(0, 0), area));
}

bool TfrmZoom::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == panContainer_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void showZoom(QWidget* owner, const QImage& photo)
{
    auto* zoom = new TfrmZoom(owner);
    zoom->setPhoto(photo);
    // Without a window manager nothing would maximise the window: give it the screen first.
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        zoom->setGeometry(screen->availableGeometry());
    zoom->setWindowState(Qt::WindowMaximized);
    zoom->exec();
    delete zoom;
}

} // namespace brivanto
