#include "shell/Application.h"

#include "platform/ApplicationStyle.h"
#include "platform/testing/ScriptedPlatform.h"
#include "storage/ArchiveFile.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPainter>
#include <QProxyStyle>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <functional>
#include <memory>
#include <stdexcept>

using namespace brivanto;

namespace {
// A control whose handler fails in a way nobody catches.
class FailingHandler : public QObject
{
public:
    explicit FailingHandler(std::function<void()> failure) : failure_(std::move(failure)) {}
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User)
            failure_();
        return QObject::event(event);
    }

private:
    std::function<void()> failure_;
};

// A desktop whose dialogs put icons on their buttons, as the plain X11 desktop does.
class IconButtonsStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        return hint == SH_DialogButtonBox_ButtonsHaveIcons
                   ? 1
                   : QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

const QString ArchiveAccessError = QString::fromUtf8(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere i "
    "privilegi di scrittura nella cartella di installazione del programma.");
} // namespace

class TestApplication : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void unhandledFailureReachesTheGeneralErrorReport_data();
    void unhandledFailureReachesTheGeneralErrorReport();
    void messageBoxesTakeTheProgramsLook();
    void waitCursorWhileAnotherProgramHoldsTheArchive();
    void windowIconIsTheProgramsIcon();
};

void TestApplication::unhandledFailureReachesTheGeneralErrorReport_data()
{
    QTest::addColumn<std::function<void()>>("failure");
    QTest::addColumn<QString>("shown");
    QTest::newRow("failure with an Italian description") << std::function<void()>([] {
        throw std::runtime_error("Impossibile scrivere: spazio su disco esaurito");
    }) << QString("Impossibile scrivere: spazio su disco esaurito");
    // The system's description of an archive failure is English and technical: never shown.
    QTest::newRow("archive failure") << std::function<void()>([] {
        throw ArchiveError("open: Permission denied");
    }) << ArchiveAccessError;
    QTest::newRow("failure of no known kind")
        << std::function<void()>([] { throw 42; }) << QString("Errore sconosciuto.");
}

void TestApplication::unhandledFailureReachesTheGeneralErrorReport()
{
    QFETCH(std::function<void()>, failure);
    QFETCH(QString, shown);
    platform::testing::ScriptedPlatform platform;
    FailingHandler handler(failure);
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&handler, &event);
    QCOMPARE(platform.messages.shown().size(), 1);
    QCOMPARE(platform.messages.shown().front().kind, platform::MessageKind::Error);
    QCOMPARE(platform.messages.shown().front().text, shown);
    // The program goes on: the next event is handled as usual.
    QEvent other(QEvent::None);
    QVERIFY(!QCoreApplication::sendEvent(&handler, &other));
    QCOMPARE(platform.messages.shown().size(), 1);
}

void TestApplication::messageBoxesTakeTheProgramsLook()
{
    const std::unique_ptr<QStyle> overIconButtons(platform::createApplicationStyle(new IconButtonsStyle));
    QCOMPARE(overIconButtons->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons), 0);
    QCOMPARE(QApplication::style()->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons), 0);
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
    box.show();
    const auto buttons = box.buttons();
    QCOMPARE(buttons.size(), 4);
    for (const QAbstractButton* button : buttons)
        QVERIFY2(button->icon().isNull(), qPrintable(button->text()));
    QCOMPARE(box.palette().color(QPalette::Window), QColor(0xFF, 0xF8, 0xEC));
    const auto* proxy = qobject_cast<const QProxyStyle*>(box.style());
    QVERIFY(proxy);
    QCOMPARE(proxy->baseStyle()->name(), QString("fusion"));
}

void TestApplication::waitCursorWhileAnotherProgramHoldsTheArchive()
{
    QTemporaryDir dir;
    QList<bool> waitCursorAtEachAttempt;
    int attempts = 0;
    ArchiveFile::setLockAttemptForTesting([&](int, ArchiveFile::Access) {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        waitCursorAtEachAttempt.append(cursor && cursor->shape() == Qt::WaitCursor);
        return ++attempts < 3 ? EAGAIN : 0;
    });
    {
        ArchiveFile archive;
        archive.Open(dir.filePath("Giochi.gdt"));
        QVERIFY(archive.isOpen());
    }
    ArchiveFile::setLockAttemptForTesting({});
    QCOMPARE(waitCursorAtEachAttempt, QList<bool>({false, true, true}));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

// The window icon is the program's icon (resources/app/brivanto.svg, the one the install puts in
// the icon theme) at each size window lists and task bars show, and the desktop groups the
// windows under the menu entry brivanto.desktop.
void TestApplication::windowIconIsTheProgramsIcon()
{
    QCOMPARE(QGuiApplication::desktopFileName(), QString("brivanto"));
    const QIcon icon = QApplication::windowIcon();
    QSvgRenderer drawing(QString(":/app/brivanto.svg"));
    QVERIFY(drawing.isValid());
    QCOMPARE(drawing.defaultSize(), QSize(256, 256));
    QCOMPARE(icon.availableSizes(), QList<QSize>({{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}}));
    for (const QSize& size : icon.availableSizes()) {
        QImage drawn(size, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        QPainter painter(&drawn);
        painter.setRenderHint(QPainter::Antialiasing);
        drawing.render(&painter);
        painter.end();
        const QImage shown = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QVERIFY2(shown == drawn, qPrintable(QString("%1 pixels").arg(size.width())));
    }
    QWidget window;
    QCOMPARE(window.windowIcon().cacheKey(), icon.cacheKey());
}

int main(int argc, char* argv[])
{
    Application app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_application.moc"
