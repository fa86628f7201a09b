#pragma once

#include "platform/Seam.h"

#include <QUrl>

namespace brivanto::platform {

// Hands a document, web address or mail address to the desktop's default application.
class DesktopShell
{
public:
    virtual ~DesktopShell() = default;
    // False when the desktop refused the target, for instance because it has no application to
    // open it with.
    virtual bool open(const QUrl& target) = 0;
    static DesktopShell& real();
};

using Shell = Seam<DesktopShell>;

// A command as the program writes it: a web address, or a path or "mailto:" address in double
// quotes. The quotes belong to a command line, not to the target; a path becomes a file URL.
QUrl shellTarget(const QString& command);

} // namespace brivanto::platform
