#include "storage/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace brivanto {
namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString ProgramFolder()
{
    QString folder = overrideFolder().isEmpty() ? QCoreApplication::applicationDirPath() : overrideFolder();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

void setProgramFolderForTesting(const QString& folder)
{
    overrideFolder() = folder;
}

} // namespace brivanto
