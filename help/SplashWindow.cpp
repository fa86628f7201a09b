#include "help/SplashWindow.h"

#include "help/LinkLabel.h"
#include "help/WindowParts.h"
#include "platform/PictureBox.h"
#include "shell/DesktopOpen.h"
#include "shell/Maker.h"
#include "shell/Screen.h"

#include <QPushButton>

namespace brivanto {

using platform::PictureBox;
using platform::PictureButton;

namespace {
constexpr int ClientWidth = 661;
constexpr int ClientHeight = 467;
constexpr int Margin = 18;
} // namespace

SplashWindow::SplashWindow(QWidget* parent) : QDialog(parent)
{
    prepareScreen(this, QStringLiteral("TfrmSplash"), QStringLiteral(" Brivanto"));
    makeFixedDialogWindow(this, ClientWidth, ClientHeight);

    auto* imgLogo = new PictureBox(QStringLiteral("imgLogo"), QStringLiteral(":/help/splash.svg"), this);
    imgLogo->setFixedSize(625, 380);
    imgLogo->move(Margin, 12);

    auto* imgWeb = new PictureButton(QStringLiteral("imgWeb"), QStringLiteral(":/help/web.svg"), this);
    imgWeb->move(Margin, 410);
    auto* lnkWeb = new LinkLabel(QStringLiteral("lnkWeb"), makerWebSite(), this);
    lnkWeb->move(imgWeb->x() + imgWeb->width() + 8, imgWeb->y() + (imgWeb->height() - lnkWeb->height()) / 2);
    lnkWeb->addIcon(imgWeb);
    connect(lnkWeb, &LinkLabel::clicked, this, &SplashWindow::lnkWebClick);

    QPushButton* btnChiudi = addCloseButton(this);
    btnChiudi->setGeometry(ClientWidth - Margin - 110, 412, 110, 36);

    centreOnOwner();
}

void SplashWindow::lnkWebClick()
{
    openWithDesktop(makerWebSite());
}

void SplashWindow::centreOnOwner()
{
    if (!parentWidget()) {
        centreOnScreen(this);
        return;
    }
    const QWidget* owner = parentWidget()->window();
    QRect frame = frameGeometry();
    frame.moveCenter(owner->frameGeometry().center());
    move(frame.topLeft());
}

} // namespace brivanto
