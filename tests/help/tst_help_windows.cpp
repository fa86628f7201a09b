#include "help/AboutWindow.h"
#include "help/Help.h"
#include "help/HelpWindow.h"
#include "help/SplashWindow.h"
#include "platform/PictureBox.h"
#include "platform/testing/ScriptedPlatform.h"
#include "shell/Maker.h"
#include "storage/ProgramFolder.h"

#include "tests/support/ModalWindows.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <functional>
#include <memory>

using namespace brivanto;
using brivanto::help::HelpTopic;
using brivanto::platform::PictureButton;
using brivanto::platform::testing::ScriptedPlatform;

enum class Window
{
    Guida,
    Info,
    Splash
};
Q_DECLARE_METATYPE(Window)
Q_DECLARE_METATYPE(HelpTopic)

namespace {

const QColor LinkColour(0x00, 0x00, 0x8B);
const QColor PressedLinkColour(0xFF, 0xA5, 0x00);
const QColor TitleColour(0xDC, 0x14, 0x3C);

QDialog* createWindow(Window window, QWidget* owner)
{
    switch (window) {
    case Window::Guida:
        return new HelpWindow(owner);
    case Window::Info:
        return new AboutWindow(owner);
    case Window::Splash:
        return new SplashWindow(owner);
    }
    return nullptr;
}

// What the owner screen does to open the window: create, show modally, destroy.
void openWindow(Window window, QWidget* owner)
{
    switch (window) {
    case Window::Guida:
        help::showHelp(owner, HelpTopic::Overview);
        break;
    case Window::Info:
        help::showInformation(owner);
        break;
    case Window::Splash:
        help::showSplash(owner);
        break;
    }
}

QColor textColour(const QWidget* widget)
{
    return widget->palette().color(QPalette::WindowText);
}

template <class T = QWidget> T* control(const QWidget* window, const char* name)
{
    return window->findChild<T*>(QLatin1String(name));
}

void addWindowRows()
{
    QTest::addColumn<Window>("window");
    QTest::newRow("help") << Window::Guida;
    QTest::newRow("information") << Window::Info;
    QTest::newRow("splash") << Window::Splash;
}

} // namespace

class TestHelpWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void controlsAndFrame_data();
    void controlsAndFrame();
    void titleAndTextStyle();
    void showHelpShowsTheTopic_data();
    void showHelpShowsTheTopic();
    void eachRequestShowsAFreshModalWindow_data() { addWindowRows(); }
    void eachRequestShowsAFreshModalWindow();
    void placement_data();
    void placement();
    void linkFollowsTheMouse_data();
    void linkFollowsTheMouse();
    void missingGuideIsNamedInAWarning();
    void refusedLinkWarnsOnlyForAFile_data() { addWindowRows(); }
    void refusedLinkWarnsOnlyForAFile();

private:
    QUrl expectedTarget(Window window) const;
    // The warning that the guide could not be opened.
    QString cannotOpenGuide() const;

    std::unique_ptr<ScriptedPlatform> platform_;
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<QWidget> owner_;
};

void TestHelpWindows::init()
{
    platform_ = std::make_unique<ScriptedPlatform>();
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    setProgramFolderForTesting(folder_->path());
    // The guide is installed beside the program.
    QFile guide(QDir(folder_->path()).filePath(QStringLiteral("Guida.pdf")));
    QVERIFY(guide.open(QIODevice::WriteOnly) && guide.write("%PDF-1.4\n") > 0);
    // An owner screen away from the centre of the screen, so that the two placements differ.
    owner_ = std::make_unique<QWidget>();
    owner_->setGeometry(420, 330, 300, 200);
    owner_->show();
    QVERIFY(QTest::qWaitForWindowExposed(owner_.get()));
}

void TestHelpWindows::cleanup()
{
    owner_.reset();
    setProgramFolderForTesting({});
    folder_.reset();
    platform_.reset();
}

QString TestHelpWindows::cannotOpenGuide() const
{
    return QString("Attenzione: non è stato possibile aprire il file \"%1\".\r\n\r\n"
                   "Accertarsi che il file esista e che sul computer sia installato un "
                   "programma in grado di aprire questo tipo di file.")
        .arg(folder_->path() + "/Guida.pdf");
}

QUrl TestHelpWindows::expectedTarget(Window window) const
{
    switch (window) {
    case Window::Guida:
        return QUrl::fromLocalFile(QDir(folder_->path()).filePath(QStringLiteral("Guida.pdf")));
    case Window::Info:
        return QUrl(QStringLiteral("mailto:") + makerEmail());
    case Window::Splash:
        return QUrl(makerWebSite());
    }
    return {};
}

void TestHelpWindows::controlsAndFrame_data()
{
    QTest::addColumn<Window>("window");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QStringList>("controls");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("linkText");

    QTest::newRow("help") << Window::Guida << QStringLiteral("TfrmGuida")
                          << QStringLiteral(" Guida all'utilizzo del software") << QSize(670, 572)
                          << QStringList{QStringLiteral("imgLogo"), QStringLiteral("lblTitolo"),
                                         QStringLiteral("txtGuida")}
                          << QStringLiteral("imgPDF") << QStringLiteral("Visualizza guida in formato PDF");
    QTest::newRow("information") << Window::Info << QStringLiteral("TfrmInfo")
                                 << QStringLiteral(" Informazioni su Brivanto") << QSize(473, 579)
                                 << QStringList{QStringLiteral("imgLogo"), QStringLiteral("lblTitolo"),
                                                QStringLiteral("imgUtente"), QStringLiteral("imgWarning")}
                                 << QStringLiteral("imgEmail") << makerEmail();
    QTest::newRow("splash") << Window::Splash << QStringLiteral("TfrmSplash") << QStringLiteral(" Brivanto")
                            << QSize(661, 467) << QStringList{QStringLiteral("imgLogo")}
                            << QStringLiteral("imgWeb") << makerWebSite();
}

void TestHelpWindows::controlsAndFrame()
{
    QFETCH(Window, window);
    QFETCH(QString, className);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(QStringList, controls);
    QFETCH(QString, icon);
    QFETCH(QString, linkText);

    std::unique_ptr<QDialog> dialog(createWindow(window, owner_.get()));
    QCOMPARE(dialog->objectName(), className);
    QCOMPARE(dialog->windowTitle(), caption);
    QCOMPARE(dialog->size(), size);
    QCOMPARE(dialog->minimumSize(), size);
    QCOMPARE(dialog->maximumSize(), size);
    const Qt::WindowFlags flags = dialog->windowFlags();
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(!flags.testAnyFlags(Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint |
                                Qt::WindowSystemMenuHint | Qt::WindowContextHelpButtonHint));

    // Every control is there and lies wholly inside the fixed client area.
    controls << icon << QStringLiteral("lnkWeb") << QStringLiteral("btnChiudi");
    for (const QString& name : std::as_const(controls)) {
        const auto* widget = dialog->findChild<QWidget*>(name);
        QVERIFY2(widget, qPrintable(name));
        QVERIFY2(!widget->isHidden() && !widget->size().isEmpty(), qPrintable(name));
        const QRect area(widget->mapTo(dialog.get(), QPoint(0, 0)), widget->size());
        QVERIFY2(QRect(QPoint(0, 0), size).contains(area), qPrintable(name));
    }

    const auto* link = control<QLabel>(dialog.get(), "lnkWeb");
    QVERIFY(link);
    QCOMPARE(link->text(), linkText);
    QCOMPARE(link->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(link->font().pointSize(), 14);
    QVERIFY(link->font().underline());
    QCOMPARE(textColour(link), LinkColour);
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    const auto* iconButton = dialog->findChild<PictureButton*>(icon);
    QVERIFY(iconButton);
    QCOMPARE(iconButton->cursor().shape(), Qt::PointingHandCursor);
    const auto* close = control<QPushButton>(dialog.get(), "btnChiudi");
    QVERIFY(close);
    QCOMPARE(close->text(), QStringLiteral("Chiudi"));
}

void TestHelpWindows::titleAndTextStyle()
{
    HelpWindow guida(owner_.get());
    const auto* title = control<QLabel>(&guida, "lblTitolo");
    QVERIFY(title);
    QCOMPARE(title->text(), QStringLiteral("Argomento della guida."));
    QCOMPARE(title->font().family(), QStringLiteral("Arial"));
    QCOMPARE(title->font().pointSize(), 16);
    QVERIFY(title->font().bold());
    QCOMPARE(textColour(title), TitleColour);

    const auto* text = control<QPlainTextEdit>(&guida, "txtGuida");
    QVERIFY(text);
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(text->wordWrapMode(), QTextOption::WordWrap);
    QCOMPARE(text->font().family(), QStringLiteral("Verdana"));
    QCOMPARE(text->font().pointSize(), 12);
    QVERIFY(text->font().bold());

    AboutWindow info(owner_.get());
    const auto* infoTitle = control<QLabel>(&info, "lblTitolo");
    QVERIFY(infoTitle);
    QVERIFY(!infoTitle->text().isEmpty());
    QCOMPARE(infoTitle->font().family(), QStringLiteral("Arial"));
    QCOMPARE(infoTitle->font().pointSize(), 12);
    QVERIFY(infoTitle->font().bold());
    QCOMPARE(textColour(infoTitle), TitleColour);
    QCOMPARE(control<QPushButton>(&info, "btnChiudi")->font().family(), QStringLiteral("Verdana"));
    QCOMPARE(control<QPushButton>(&info, "btnChiudi")->font().pointSize(), 12);
}

void TestHelpWindows::showHelpShowsTheTopic_data()
{
    QTest::addColumn<HelpTopic>("topic");
    QTest::addColumn<QString>("title");

    QTest::newRow("launcher") << HelpTopic::Overview << QStringLiteral("Uno sguardo a Brivanto");
    QTest::newRow("archive screens") << HelpTopic::Archives
                                     << QStringLiteral("Creazione e apertura archivi giochi da tavolo");
    QTest::newRow("record editor") << HelpTopic::Editor << QStringLiteral("App Zendaro");
    QTest::newRow("spreadsheet export")
        << HelpTopic::Export << QStringLiteral("Esportazione archivio giochi da tavolo in Excel");
    QTest::newRow("statistics") << HelpTopic::Statistics << QStringLiteral("Statistiche della collezione");
}

void TestHelpWindows::showHelpShowsTheTopic()
{
    QFETCH(HelpTopic, topic);
    QFETCH(QString, title);

    bool checked = false;
    whenModalShown([&](QWidget* modal) {
        auto* guida = qobject_cast<HelpWindow*>(modal);
        QVERIFY(guida);
        QCOMPARE(control<QLabel>(guida, "lblTitolo")->text(), title);
        QCOMPARE(guida->text(), help::helpText(topic));

        // On screen every paragraph is one block, with one empty block between two paragraphs.
        const QStringList paragraphs = help::helpParagraphs(topic);
        const QTextDocument* shown = control<QPlainTextEdit>(guida, "txtGuida")->document();
        QCOMPARE(shown->blockCount(), 2 * paragraphs.size() - 1);
        for (int index = 0; index < shown->blockCount(); ++index) {
            const QString block = shown->findBlockByNumber(index).text();
            QCOMPARE(block, index % 2 == 0 ? paragraphs.at(index / 2) : QString());
        }

        QTest::mouseClick(control(guida, "btnChiudi"), Qt::LeftButton);
        QVERIFY(!guida->isVisible());
        checked = true;
    });
    help::showHelp(owner_.get(), topic);
    QVERIFY(checked);
    QVERIFY(owner_->findChildren<QDialog*>().isEmpty());
}

void TestHelpWindows::eachRequestShowsAFreshModalWindow()
{
    QFETCH(Window, window);

    QPointer<QWidget> first;
    bool shownOnce = false;
    whenModalShown([&](QWidget* modal) {
        first = modal;
        shownOnce = true;
        QCOMPARE(modal->parentWidget(), owner_.get());
        QVERIFY(modal->isModal());
        // Scroll the help text to its end: the next window must not inherit it.
        if (auto* text = control<QPlainTextEdit>(modal, "txtGuida")) {
            QVERIFY(text->verticalScrollBar()->maximum() > 0);
            text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum());
        }
        // Escape closes the window as "Chiudi" does (the second request closes with "Chiudi").
        QTest::keyClick(control(modal, "btnChiudi"), Qt::Key_Escape);
        QVERIFY(!modal->isVisible());
    });
    openWindow(window, owner_.get());
    QVERIFY(shownOnce);
    QVERIFY2(first.isNull(), "the window outlived its request");
    QVERIFY(owner_->findChildren<QDialog*>().isEmpty());

    bool checked = false;
    whenModalShown([&](QWidget* modal) {
        QCOMPARE(modal->parentWidget(), owner_.get());
        if (const auto* text = control<QPlainTextEdit>(modal, "txtGuida"))
            QCOMPARE(text->verticalScrollBar()->value(), 0);
        QTest::mouseClick(control(modal, "btnChiudi"), Qt::LeftButton);
        checked = true;
    });
    openWindow(window, owner_.get());
    QVERIFY(checked);
    QVERIFY(owner_->findChildren<QDialog*>().isEmpty());
}

void TestHelpWindows::placement_data()
{
    QTest::addColumn<Window>("window");
    QTest::addColumn<bool>("onOwner"); // centred on the owner, else on the screen

    QTest::newRow("help") << Window::Guida << false;
    QTest::newRow("information") << Window::Info << false;
    QTest::newRow("splash") << Window::Splash << true;
}

void TestHelpWindows::placement()
{
    QFETCH(Window, window);
    QFETCH(bool, onOwner);

    bool checked = false;
    whenModalShown([&](QWidget* modal) {
        const QPoint expected =
            onOwner ? owner_->frameGeometry().center() : modal->screen()->availableGeometry().center();
        // The window is placed before the window system has framed it, so its centre may be off
        // by as much as its frame.
        const QPoint centre = modal->frameGeometry().center();
        const QSize frame = modal->frameGeometry().size() - modal->size() + QSize(1, 1);
        QVERIFY2(qAbs(centre.x() - expected.x()) <= frame.width() &&
                     qAbs(centre.y() - expected.y()) <= frame.height(),
                 qPrintable(QStringLiteral("centre %1,%2 expected %3,%4")
                                .arg(centre.x())
                                .arg(centre.y())
                                .arg(expected.x())
                                .arg(expected.y())));
        checked = true;
    });
    openWindow(window, owner_.get());
    QVERIFY(checked);
}

void TestHelpWindows::linkFollowsTheMouse_data()
{
    QTest::addColumn<Window>("window");
    QTest::addColumn<QString>("pressedOn");
    QTest::addColumn<bool>("releasedOver"); // released over the control, else away from it

    QTest::newRow("help link") << Window::Guida << QStringLiteral("lnkWeb") << true;
    QTest::newRow("help icon") << Window::Guida << QStringLiteral("imgPDF") << true;
    QTest::newRow("information link") << Window::Info << QStringLiteral("lnkWeb") << true;
    QTest::newRow("information icon") << Window::Info << QStringLiteral("imgEmail") << true;
    QTest::newRow("splash link") << Window::Splash << QStringLiteral("lnkWeb") << true;
    QTest::newRow("splash icon") << Window::Splash << QStringLiteral("imgWeb") << true;
    QTest::newRow("help link, released away") << Window::Guida << QStringLiteral("lnkWeb") << false;
    QTest::newRow("splash icon, released away") << Window::Splash << QStringLiteral("imgWeb") << false;
}

void TestHelpWindows::linkFollowsTheMouse()
{
    QFETCH(Window, window);
    QFETCH(QString, pressedOn);
    QFETCH(bool, releasedOver);

    std::unique_ptr<QDialog> dialog(createWindow(window, owner_.get()));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    const QWidget* link = control(dialog.get(), "lnkWeb");
    auto* target = dialog->findChild<QWidget*>(pressedOn);
    QVERIFY(link && target);

    QTest::mousePress(target, Qt::LeftButton, {}, target->rect().center());
    QCOMPARE(textColour(link), PressedLinkColour);
    QVERIFY(platform_->shell.opened().isEmpty());

    const QPoint releasedAt =
        releasedOver ? target->rect().center() : target->rect().bottomRight() + QPoint(40, 40);
    QTest::mouseRelease(target, Qt::LeftButton, {}, releasedAt);
    QCOMPARE(textColour(link), LinkColour);
    if (releasedOver)
        QCOMPARE(platform_->shell.opened(), QList<QUrl>{expectedTarget(window)});
    else
        QVERIFY(platform_->shell.opened().isEmpty());
    QVERIFY(dialog->isVisible());
    QVERIFY(platform_->messages.shown().isEmpty());
}

// The desktop's opener answers yes for a guide that is not there and shows nothing: the help
// window names the file in a warning instead, and stays.
void TestHelpWindows::missingGuideIsNamedInAWarning()
{
    QVERIFY(QFile::remove(ProgramFolder() + QStringLiteral("Guida.pdf")));

    bool checked = false;
    whenModalShown([&](QWidget* modal) {
        QTest::mouseClick(control(modal, "lnkWeb"), Qt::LeftButton);
        QVERIFY(platform_->shell.opened().isEmpty());
        QCOMPARE(platform_->messages.texts(), QStringList{cannotOpenGuide()});
        QCOMPARE(platform_->messages.shown().front().kind, platform::MessageKind::Warning);
        QCOMPARE(platform_->messages.shown().front().parent, modal);
        QCOMPARE(QApplication::activeModalWidget(), modal);
        QVERIFY(modal->isVisible());
        QCOMPARE(textColour(control(modal, "lnkWeb")), LinkColour);
        QTest::mouseClick(control(modal, "btnChiudi"), Qt::LeftButton);
        checked = true;
    });
    help::showHelp(owner_.get(), HelpTopic::Overview);
    QVERIFY(checked);
}

// A desktop that cannot open the target: the guide, a file, is named in a warning over the help
// window, which stays; the mail and web addresses stay silent.
void TestHelpWindows::refusedLinkWarnsOnlyForAFile()
{
    QFETCH(Window, window);
    platform_->shell.refuseEverything();
    std::unique_ptr<QDialog> dialog(createWindow(window, owner_.get()));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QTest::mouseClick(control(dialog.get(), "lnkWeb"), Qt::LeftButton);

    QCOMPARE(platform_->shell.opened(), QList<QUrl>{expectedTarget(window)});
    if (window == Window::Guida) {
        QCOMPARE(platform_->messages.texts(), QStringList{cannotOpenGuide()});
        QCOMPARE(platform_->messages.shown().front().kind, platform::MessageKind::Warning);
        QCOMPARE(platform_->messages.shown().front().parent, dialog.get());
    } else {
        QVERIFY(platform_->messages.shown().isEmpty());
    }
    QVERIFY(dialog->isVisible());
}

QTEST_MAIN(TestHelpWindows)
#include "tst_help_windows.moc"
