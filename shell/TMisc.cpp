#include "shell/TMisc.h"

#include "platform/DesktopShell.h"

namespace brivanto {

void TMisc::Open(const QString& sCommand)
{
    const QUrl target = platform::shellTarget(sCommand);
    if (target.isValid())
        platform::Shell::current().open(target);
}

} // namespace brivanto
