#include "platform/DesktopShell.h"

#include <QDesktopServices>
#include <QDir>

namespace brivanto::platform {
namespace {

class QtDesktopShell final : public DesktopShell
{
public:
    bool open(const QUrl& target) override { return QDesktopServices::openUrl(target); }
};

} // namespace

DesktopShell& DesktopShell::real()
{
    static QtDesktopShell shell;
    return shell;
}

QUrl shellTarget(const QString& command)
{
    QString target = command.trimmed();
    if (target.size() >= 2 && target.startsWith(QLatin1Char('"')) && target.endsWith(QLatin1Char('"')))
        target = target.mid(1, target.size() - 2);
    if (QDir::isAbsolutePath(target))
        return QUrl::fromLocalFile(target);
    return QUrl(target, QUrl::StrictMode);
}

} // namespace brivanto::platform
