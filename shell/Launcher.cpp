#include "shell/Launcher.h"

#include "help/Help.h"
#include "platform/PictureBox.h"
#include "platform/ScreenKeys.h"
#include "shell/DesktopOpen.h"
#include "shell/Maker.h"
#include "shell/Screen.h"

#include <QCloseEvent>

namespace brivanto {

using platform::PictureBox;
using platform::PictureButton;

namespace {
constexpr int PanelWidth = 760;
constexpr int PanelHeight = 660;
} // namespace

Launcher::Launcher(QWidget* parent) : QWidget(parent)
{
    prepareScreen(this, QStringLiteral("TfrmAvvio"), QStringLiteral(" Brivanto"));
    QWidget* panel = addCentredPanel(this, PanelWidth, PanelHeight);
    panel->setObjectName(QStringLiteral("panAvvio"));

    auto* info = new PictureButton(QStringLiteral("imgInfo"), QStringLiteral(":/launcher/info.svg"), panel);
    info->move(8, 8);
    auto* guida =
        new PictureButton(QStringLiteral("imgGuida"), QStringLiteral(":/launcher/guida.svg"), panel);
    guida->move(PanelWidth - guida->width() - 8, 8);

    auto* titolo =
        new PictureBox(QStringLiteral("icoTitolo01"), QStringLiteral(":/launcher/titolo.svg"), panel);
    titolo->move((PanelWidth - titolo->width()) / 2, 60);
    auto* sottotitolo =
        new PictureBox(QStringLiteral("imgSottotitolo"), QStringLiteral(":/launcher/sottotitolo.svg"), panel);
    sottotitolo->move((PanelWidth - sottotitolo->width()) / 2, 156);

    auto* app01 =
        new PictureButton(QStringLiteral("imgApp01"), QStringLiteral(":/launcher/app01.svg"), panel);
    app01->move(30, 210);
    auto* app02 =
        new PictureButton(QStringLiteral("imgApp02"), QStringLiteral(":/launcher/app02.svg"), panel);
    app02->move(PanelWidth - app02->width() - 30, 210);
    auto* btn01 =
        new PictureButton(QStringLiteral("btnApp01"), QStringLiteral(":/launcher/btnApp01.svg"), panel);
    btn01->move(app01->x() + (app01->width() - btn01->width()) / 2, 464);
    auto* btn02 =
        new PictureButton(QStringLiteral("btnApp02"), QStringLiteral(":/launcher/btnApp02.svg"), panel);
    btn02->move(app02->x() + (app02->width() - btn02->width()) / 2, 464);

    auto* sito = new PictureButton(QStringLiteral("imgSito"), QStringLiteral(":/launcher/sito.svg"), panel);
    sito->move((PanelWidth - sito->width()) / 2, 545);
    auto* copyright =
        new PictureButton(QStringLiteral("imgCopyright"), QStringLiteral(":/launcher/copyright.svg"), panel);
    copyright->move(8, PanelHeight - copyright->height() - 8);
    auto* esci = new PictureButton(QStringLiteral("imgEsci"), QStringLiteral(":/launcher/esci.svg"), panel);
    esci->move(PanelWidth - esci->width() - 8, PanelHeight - esci->height() - 8);

    // What a screen reader says for each picture: the words it shows, or what it does. Each work
    // area's large picture and its button do the same, but each has a name of its own: the
    // picture is named by the work area, the button by its caption.
    info->setAccessibleName(QStringLiteral("Informazioni"));
    guida->setAccessibleName(QStringLiteral("Guida"));
    app01->setAccessibleName(QStringLiteral("Area del nuovo archivio"));
    app01->setAccessibleDescription(QStringLiteral("Crea un nuovo archivio di giochi da tavolo."));
    btn01->setAccessibleName(QStringLiteral("Crea nuovo archivio"));
    app02->setAccessibleName(QStringLiteral("Area degli archivi esistenti"));
    app02->setAccessibleDescription(QStringLiteral("Apre un archivio di giochi da tavolo esistente."));
    btn02->setAccessibleName(QStringLiteral("Apri archivio esistente"));
    sito->setAccessibleName(QStringLiteral("Visita il sito di Brivanto"));
    copyright->setAccessibleName(QStringLiteral("Copyright"));
    esci->setAccessibleName(QStringLiteral("Esci"));
    platform::placePictureButtonsLast(this);

    connect(app01, &PictureButton::clicked, this, &Launcher::createArchiveRequested);
    connect(btn01, &PictureButton::clicked, this, &Launcher::createArchiveRequested);
    connect(app02, &PictureButton::clicked, this, &Launcher::openArchiveRequested);
    connect(btn02, &PictureButton::clicked, this, &Launcher::openArchiveRequested);
    connect(info, &PictureButton::clicked, this, &Launcher::imgInfoClick);
    connect(guida, &PictureButton::clicked, this, &Launcher::imgGuidaClick);
    connect(sito, &PictureButton::clicked, this, &Launcher::imgSitoClick);
    connect(copyright, &PictureButton::clicked, this, &Launcher::imgCopyrightClick);
    connect(esci, &PictureButton::clicked, this, &Launcher::imgEsciClick);
    // Escape does not end the program: only the exit picture does.
    platform::applyScreenKeys(this, {.help = [this] { imgGuidaClick(); }});
}

void Launcher::imgInfoClick()
{
    help::showInformation(this);
}

void Launcher::imgGuidaClick()
{
    help::showHelp(this, help::HelpTopic::Overview);
}

void Launcher::imgSitoClick()
{
    openWithDesktop(makerWebSite());
}

void Launcher::imgCopyrightClick()
{
    help::showSplash(this);
}

void Launcher::imgEsciClick()
{
    Q_EMIT endRequested();
}

void Launcher::closeEvent(QCloseEvent* event)
{
    event->accept();
    Q_EMIT endRequested();
}

} // namespace brivanto
