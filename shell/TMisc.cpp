#include "shell/TMisc.h"

#include "platform/DesktopShell.h"
#include "platform/MessageBoxes.h"

#include <QDir>

namespace brivanto {

void TMisc::Open(const QString& sCommand, QWidget* parent)
{
    const QUrl target = platform::shellTarget(sCommand);
    if (!target.isValid())
        return;
    if (platform::Shell::current().open(target) || !target.isLocalFile())
        return;
    platform::warning(parent,
                      QStringLiteral("Attenzione: non \u00E8 stato possibile aprire il file \"%1\".\r\n\r\n"
                                     "Accertarsi che il file esista e che sul computer sia installato un "
                                     "programma in grado di aprire questo tipo di file.")
                          .arg(QDir::toNativeSeparators(target.toLocalFile())));
}

} // namespace brivanto
