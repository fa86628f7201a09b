#include "media/PhotoWindow.h"

#include "platform/PhotoView.h"
#include "platform/ScreenKeys.h"
#include "shell/Screen.h"

#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

namespace brivanto {

PhotoWindow::PhotoWindow(QWidget* owner, const QString& className, const QString& caption) : QDialog(owner)
{
    prepareScreen(this, className, caption);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setAutoFillBackground(true);
    setPalette(QPalette(QColor(0xFF, 0xF8, 0xEC)));

    panContainer_ = new QWidget(this);
    panContainer_->setObjectName(QStringLiteral("panContainer"));
    panContainer_->installEventFilter(this);
    imgFoto_ = new platform::PhotoView(QStringLiteral("imgFoto"), panContainer_);
    imgFoto_->setAccessibleName(QStringLiteral("Foto del gioco"));
    imgFoto_->setCursor(Qt::PointingHandCursor);
    connect(imgFoto_, &platform::PhotoView::clicked, this, &QDialog::accept);

    auto* centring = new QGridLayout(this);
    centring->setContentsMargins(0, 0, 0, 0);
    centring->addWidget(panContainer_, 0, 0, Qt::AlignCenter);
    // Escape closes the window as a click on the photo does.
    platform::applyScreenKeys(this, {.escape = [this] { accept(); }});
}

void PhotoWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize area = screen->size() - QSize(60, 90);
    panContainer_->setFixedSize(area);
    imgFoto_->setGeometry(QRect(QPoint(0, 0), area));
    started();
}

bool PhotoWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == panContainer_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void runMaximised(QWidget* owner, PhotoWindow* window)
{
    // Without a window manager nothing would maximise the window: give it the screen first.
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        window->setGeometry(screen->availableGeometry());
    window->setWindowState(Qt::WindowMaximized);
    window->exec();
    delete window;
}

} // namespace brivanto
