#include "shell/Application.h"

#include "platform/ApplicationStyle.h"
#include "platform/MessageBoxes.h"
#include "storage/ArchiveFile.h"

#include <QIcon>
#include <QImage>
#include <QLibraryInfo>
#include <QPixmap>
#include <QResource>
#include <QTranslator>

#include <exception>

namespace brivanto {

QIcon Application::windowIcon()
{
    // Drawn at build time from resources/app/brivanto.svg at the sizes window lists and task bars
    // show, as plain pixels: no window waits for the SVG to be drawn or a picture to be decoded.
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128}) {
        const QResource pixels(QStringLiteral(":/app/icon/brivanto-%1.argb").arg(size));
        const QByteArray bytes = pixels.uncompressedData();
        if (bytes.size() != qsizetype(size) * size * 4)
            continue;
        const QImage image(reinterpret_cast<const uchar*>(bytes.constData()), size, size,
                           QImage::Format_ARGB32_Premultiplied);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Brivanto"));
    // Every window carries the program's icon, and the desktop groups them under the menu entry
    // that the install writes (brivanto.desktop).
    setWindowIcon(windowIcon());
    setDesktopFileName(QStringLiteral("brivanto"));
    platform::applyApplicationStyle(*this);
    // Screens are hidden and shown as the user moves between them; only the three ways out of
    // the program end it.
    setQuitOnLastWindowClosed(false);
    // The toolkit's own texts (file dialogs, context menus) in Italian, like the rest.
    auto* translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    // An archive that another workstation is writing is waited for under the wait cursor.
    ArchiveFile::setLockWaitObserver([](bool waiting) {
        if (waiting)
            setOverrideCursor(Qt::WaitCursor);
        else
            restoreOverrideCursor();
    });
}

Application::~Application()
{
    ArchiveFile::setLockWaitObserver({});
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const ArchiveError&) {
        // Its description is a technical detail; the user reads the archive access error.
        platform::reportUnhandledFailure(activeWindow(), archiveAccessErrorText());
    } catch (const std::exception& failure) {
        platform::reportUnhandledFailure(activeWindow(), QString::fromLocal8Bit(failure.what()));
    } catch (...) {
        platform::reportUnhandledFailure(activeWindow(), QStringLiteral("Errore sconosciuto."));
    }
    return false;
}

} // namespace brivanto
