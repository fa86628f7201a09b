#include "help/AboutWindow.h"

#include "help/LinkLabel.h"
#include "help/WindowParts.h"
#include "platform/PictureBox.h"
#include "shell/DesktopOpen.h"
#include "shell/Maker.h"
#include "shell/Screen.h"

#include <QLabel>
#include <QPushButton>

namespace brivanto {

using platform::PictureBox;
using platform::PictureButton;

namespace {
constexpr int ClientWidth = 473;
constexpr int ClientHeight = 579;
constexpr int Margin = 26;
constexpr QRgb TitleColour = 0xDC143C; // crimson
} // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent)
{
    prepareScreen(this, QStringLiteral("TfrmInfo"), QStringLiteral(" Informazioni su Brivanto"));
    makeFixedDialogWindow(this, ClientWidth, ClientHeight);

    addFramedLogo(this, QStringLiteral(":/help/logo_info.svg"), 11, 10, 5);

    auto* lblTitolo = new QLabel(QStringLiteral("Informazioni sul prodotto"), this);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setFont(QFont(QStringLiteral("Arial"), 12, QFont::Bold));
    QPalette crimson = lblTitolo->palette();
    crimson.setColor(QPalette::WindowText, QColor::fromRgb(TitleColour));
    lblTitolo->setPalette(crimson);
    lblTitolo->setGeometry(Margin, 112, ClientWidth - 2 * Margin, 24);

    auto* imgUtente = new PictureBox(QStringLiteral("imgUtente"), QStringLiteral(":/help/utente.svg"), this);
    imgUtente->move((ClientWidth - imgUtente->width()) / 2, 144);
    auto* imgWarning =
        new PictureBox(QStringLiteral("imgWarning"), QStringLiteral(":/help/warning.svg"), this);
    imgWarning->move((ClientWidth - imgWarning->width()) / 2, 286);
    // The two pictures carry words the user needs: they say them to assistive technology too.
    imgUtente->setAccessibleName(QStringLiteral("Brivanto \u2013 versione 1.0"));
    imgUtente->setAccessibleDescription(
        QStringLiteral("Cataloghi fotografici di giochi da tavolo. Uso personale e per collezionisti."));
    imgWarning->setAccessibleName(QStringLiteral(
        "Conservare una copia della cartella del programma: contiene tutti gli archivi e le foto."));

    auto* imgEmail = new PictureButton(QStringLiteral("imgEmail"), QStringLiteral(":/help/email.svg"), this);
    imgEmail->move(Margin, 420);
    auto* lnkWeb = new LinkLabel(QStringLiteral("lnkWeb"), makerEmail(), this);
    lnkWeb->move(imgEmail->x() + imgEmail->width() + 8,
                 imgEmail->y() + (imgEmail->height() - lnkWeb->height()) / 2);
    lnkWeb->addIcon(imgEmail);
    connect(lnkWeb, &LinkLabel::clicked, this, &AboutWindow::lnkWebClick);

    QPushButton* btnChiudi = addCloseButton(this);
    btnChiudi->setFont(QFont(QStringLiteral("Verdana"), 12));
    btnChiudi->setGeometry(ClientWidth - Margin - 110, 520, 110, 36);

    centreOnScreen(this);
}

void AboutWindow::lnkWebClick()
{
    openWithDesktop(QStringLiteral("\"mailto:") + makerEmail() + QLatin1Char('"'));
}

} // namespace brivanto
