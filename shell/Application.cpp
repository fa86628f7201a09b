#include "shell/Application.h"

#include "platform/MessageBoxes.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <exception>

namespace brivanto {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Brivanto"));
    setWindowIcon(QIcon(QStringLiteral(":/app/brivanto.svg")));
    // Screens are hidden and shown as the user moves between them; only the three ways out of
    // the program end it.
    setQuitOnLastWindowClosed(false);
    // The toolkit's own texts (file dialogs, context menus) in Italian, like the rest.
    auto* translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        platform::reportUnhandledFailure(activeWindow(), QString::fromLocal8Bit(failure.what()));
    } catch (...) {
        platform::reportUnhandledFailure(activeWindow(), QStringLiteral("Errore sconosciuto."));
    }
    return false;
}

} // namespace brivanto
