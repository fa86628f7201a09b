#pragma once

// Every screen of the program, each opened as the program opens it, over a small fixture: the
// record editor on an archive of three games in a temporary program folder (with the delivered
// password file), scripted message boxes and dialogs, an injected camera. A table-driven test
// adds one row per screen with addScreenRows() and opens the row's screen with
// ScreenSession::open(). On-demand screens are shown application-modal, as their exec() shows
// them, without blocking the test.
//
// Link: brivanto_shell brivanto_platform_testing brivanto_platform_camera_testing.

#include "access/ChangePasswordDialog.h"
#include "access/PasswordScreen.h"
#include "editor/AttachmentsDialog.h"
#include "help/AboutWindow.h"
#include "help/Help.h"
#include "help/HelpWindow.h"
#include "help/SplashWindow.h"
#include "media/CaptureScreen.h"
#include "media/Slideshow.h"
#include "media/ZoomWindow.h"
#include "output/CardPreviewDialog.h"
#include "output/CardPrintDialog.h"
#include "output/ExportScreen.h"
#include "output/ReportTemplates.h"
#include "output/SummaryPrint.h"
#include "platform/testing/InjectedCamera.h"
#include "report/ReportPreview.h"
#include "search/ForSaleList.h"
#include "search/SearchScreen.h"
#include "shell/CreateArchiveScreen.h"
#include "shell/Launcher.h"
#include "shell/OpenArchiveScreen.h"
#include "statistics/GroupListScreen.h"
#include "statistics/StatisticsScreen.h"

#include "tests/editor/EditorFixture.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <memory>
#include <optional>
#include <vector>

class ScreenSession
{
public:
    ScreenSession() : fixture(3)
    {
        fixture.folder.writeFile(QStringLiteral("unins000.dll"),
                                 QByteArrayLiteral("[Accesso]\r\nValore=4D8B4C4A1AEB37AB82DE806E580E\r\n"));
        fixture.folder.writeFile(QStringLiteral("Foto_Gioco/Giochi rari_Foto_A_1.jpg"), jpegOf({64, 48}, 1));
        fixture.folder.writeFile(QStringLiteral("Foto_Gioco/Giochi rari_Foto_B_1.jpg"), jpegOf({48, 64}, 2));
    }
    ~ScreenSession()
    {
        // The screens go before the editor they belong to.
        while (!screens_.empty())
            screens_.pop_back();
    }
    ScreenSession(const ScreenSession&) = delete;
    ScreenSession& operator=(const ScreenSession&) = delete;

    // Opens the named screen of screenNames() and waits until it is on view; null when it cannot.
    QWidget* open(const QString& name);

    brivanto::RecordEditor& editor() { return fixture.editor; }
    brivanto::platform::testing::ScriptedPlatform& platform() { return fixture.folder.platform; }

    EditorFixture fixture;
    brivanto::platform::testing::InjectedCameras cameras;
    brivanto::platform::ScopedSeam<brivanto::platform::CameraFactory> cameraSeam{cameras};

private:
    template <class Screen> Screen* keep(std::unique_ptr<Screen> screen)
    {
        Screen* raw = screen.get();
        screens_.push_back(std::move(screen));
        return raw;
    }
    // An on-demand screen, modal as exec() makes it.
    template <class Screen> Screen* showModal(std::unique_ptr<Screen> screen)
    {
        screen->setWindowModality(Qt::ApplicationModal);
        screen->show();
        return keep(std::move(screen));
    }
    // A photo window, over the whole screen as the program opens it.
    template <class Screen> Screen* showMaximised(std::unique_ptr<Screen> screen)
    {
        if (const QScreen* desktop = QGuiApplication::primaryScreen())
            screen->setGeometry(desktop->availableGeometry());
        screen->setWindowState(Qt::WindowMaximized);
        return showModal(std::move(screen));
    }
    QWidget* openUnexposed(const QString& name);

    std::optional<brivanto::report::Report> summary_;
    std::vector<std::unique_ptr<QWidget>> screens_;
};

// The screens, by the name each table row carries.
inline QStringList screenNames()
{
    return {
        QStringLiteral("launcher"),       QStringLiteral("create"),          QStringLiteral("open"),
        QStringLiteral("password"),       QStringLiteral("change password"), QStringLiteral("help"),
        QStringLiteral("info"),           QStringLiteral("splash"),          QStringLiteral("editor"),
        QStringLiteral("attachments"),    QStringLiteral("search filters"),  QStringLiteral("search results"),
        QStringLiteral("for sale"),       QStringLiteral("export"),          QStringLiteral("card print"),
        QStringLiteral("card preview"),   QStringLiteral("preview window"),  QStringLiteral("capture"),
        QStringLiteral("zoom"),           QStringLiteral("slideshow"),       QStringLiteral("statistics"),
        QStringLiteral("statistics list")};
}

// One row per screen, with the column "screen".
inline void addScreenRows()
{
    QTest::addColumn<QString>("screen");
    for (const QString& name : screenNames())
        QTest::newRow(qPrintable(name)) << name;
}

inline QWidget* ScreenSession::open(const QString& name)
{
    QWidget* screen = openUnexposed(name);
    if (!screen || !QTest::qWaitForWindowExposed(screen))
        return nullptr;
    QApplication::setActiveWindow(screen->window());
    if (!QTest::qWaitForWindowActive(screen->window()))
        return nullptr;
    return screen;
}

inline QWidget* ScreenSession::openUnexposed(const QString& name)
{
    using namespace brivanto;
    RecordEditor& owner = fixture.editor;

    // The resident screens, shown and hidden by the screen set.
    if (name == QLatin1String("editor"))
        return &owner;
    if (name == QLatin1String("launcher")) {
        auto* screen = keep(std::make_unique<Launcher>());
        screen->show();
        return screen;
    }
    if (name == QLatin1String("create")) {
        auto* screen = keep(std::make_unique<CreateArchiveScreen>());
        screen->show();
        return screen;
    }
    if (name == QLatin1String("open")) {
        auto* screen = keep(std::make_unique<OpenArchiveScreen>());
        screen->show();
        return screen;
    }
    if (name == QLatin1String("password")) {
        auto* screen = keep(std::make_unique<PasswordScreen>());
        screen->show();
        return screen;
    }
    if (name == QLatin1String("change password")) {
        auto* screen = keep(std::make_unique<ChangePasswordDialog>());
        screen->show();
        return screen;
    }

    // The windows of help, information and credits.
    if (name == QLatin1String("help")) {
        auto screen = std::make_unique<HelpWindow>(&owner);
        screen->setTitle(help::helpTitle(help::HelpTopic::Editor));
        screen->setText(help::helpText(help::HelpTopic::Editor));
        return showModal(std::move(screen));
    }
    if (name == QLatin1String("info"))
        return showModal(std::make_unique<AboutWindow>(&owner));
    if (name == QLatin1String("splash"))
        return showModal(std::make_unique<SplashWindow>(&owner));

    // The editor's tool screens.
    if (name == QLatin1String("attachments")) {
        auto screen = std::make_unique<AttachmentsDialog>(owner);
        screen->setCallerTag(QStringLiteral("cartoline"));
        return showModal(std::move(screen));
    }
    // The lists offer the statistics of their games; here the statistics open nothing.
    const OpenListStatistics noStatistics = [](QWidget*, const ListedGames&) { return false; };
    if (name == QLatin1String("search filters") || name == QLatin1String("search results")) {
        auto* screen = showModal(std::make_unique<SearchScreen>(owner, &owner, noStatistics));
        screen->setCallerTag(QStringLiteral("cartoline"));
        if (name == QLatin1String("search results")) {
            screen->findChild<QLineEdit*>(QStringLiteral("txtTitolo"))->setText(QStringLiteral("Gioco"));
            screen->findChild<QPushButton*>(QStringLiteral("btnCerca"))->click();
            auto* results = screen->findChild<QWidget*>(QStringLiteral("panContainer"));
            if (!results || !QTest::qWaitFor([results] { return results->isVisible(); }))
                return nullptr;
        }
        return screen;
    }
    if (name == QLatin1String("for sale"))
        return showModal(std::make_unique<ForSaleList>(owner, &owner, noStatistics));
    if (name == QLatin1String("statistics")) {
        auto screen = std::make_unique<statistics::StatisticsScreen>(
            owner, statistics::StatisticsCoverage::wholeArchive(), &owner);
        if (!screen->startReading())
            return nullptr;
        auto* shown = showModal(std::move(screen));
        if (!QTest::qWaitFor([shown] { return !shown->isReading(); }))
            return nullptr;
        return shown;
    }
    if (name == QLatin1String("statistics list")) {
        ListLines lines;
        for (int n = 1; n <= 3; ++n)
            lines.append(numberedRecord(n));
        lines.sort();
        return showModal(std::make_unique<statistics::GroupListScreen>(
            owner, QStringLiteral("Genere: Strategico"), lines, &owner));
    }
    if (name == QLatin1String("export"))
        return showModal(std::make_unique<ExportScreen>(owner));
    if (name == QLatin1String("card print"))
        return showModal(std::make_unique<CardPrintDialog>(owner));
    if (name == QLatin1String("card preview"))
        return showModal(std::make_unique<CardPreviewDialog>(owner));
    if (name == QLatin1String("preview window")) {
        summary_.emplace(makeSummaryReport());
        ListLines lines;
        for (int n = 1; n <= 3; ++n)
            lines.append(QStringLiteral("Gioco %1").arg(n));
        fillSummary(*summary_, SummaryTitleArchive, lines);
        summary_->prepare();
        return showModal(std::make_unique<report::ReportPreview>(*summary_, &owner));
    }
    if (name == QLatin1String("capture")) {
        auto screen = std::make_unique<CaptureScreen>(owner);
        screen->setCallerTag(QStringLiteral("foto01"));
        return showModal(std::move(screen));
    }
    if (name == QLatin1String("zoom")) {
        auto screen = std::make_unique<ZoomWindow>(&owner);
        screen->setPhoto(QImage::fromData(jpegOf({640, 480}, 3)));
        return showMaximised(std::move(screen));
    }
    if (name == QLatin1String("slideshow"))
        return showMaximised(std::make_unique<Slideshow>(owner));
    qWarning("no screen named %s in the catalogue", qPrintable(name));
    return nullptr;
}
