#include "shell/DesktopOpen.h"

#include "platform/DesktopShell.h"
#include "platform/MessageBoxes.h"

#include <QDir>
#include <QFileInfo>

namespace brivanto {

void openWithDesktop(const QString& target, QWidget* parent)
{
    const QUrl url = platform::shellTarget(target);
    if (!url.isValid())
        return;
    if (!url.isLocalFile()) {
        platform::Shell::current().open(url);
        return;
    }
    // The desktop's opener answers yes for a file that is not there and then shows nothing: a
    // missing file is told as a file no program opens.
    const QString path = url.toLocalFile();
    if (QFileInfo::exists(path) && platform::Shell::current().open(url))
        return;
    platform::warning(parent,
                      QStringLiteral("Attenzione: non \u00E8 stato possibile aprire il file \"%1\".\r\n\r\n"
                                     "Accertarsi che il file esista e che sul computer sia installato un "
                                     "programma in grado di aprire questo tipo di file.")
                          .arg(QDir::toNativeSeparators(path)));
}

} // namespace brivanto
