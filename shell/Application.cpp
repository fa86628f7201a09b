#include "shell/Application.h"

#include "platform/ApplicationStyle.h"
#include "platform/MessageBoxes.h"
#include "storage/ArchiveFile.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <exception>

namespace brivanto {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Brivanto"));
    setWindowIcon(QIcon(QStringLiteral(":/app/brivanto.svg")));
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
