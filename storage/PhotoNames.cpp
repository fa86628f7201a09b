#include "storage/PhotoNames.h"

#include <climits>

namespace brivanto {

QString photoFileName(QStringView archiveName, int position, char slot)
{
    return photoFileName(archiveName, QString::number(position), slot);
}

QString photoFileName(QStringView archiveName, QStringView position, char slot)
{
    return archiveName.toString() + QStringLiteral("_Foto_") + QLatin1Char(slot) + QLatin1Char('_') +
           position + QStringLiteral(".jpg");
}

std::optional<PhotoName> parsePhotoFileName(QStringView fileName, QStringView archiveName)
{
    const QLatin1StringView infix("_Foto_");
    const QLatin1StringView extension(".jpg");
    if (!fileName.startsWith(archiveName) || !fileName.endsWith(extension))
        return {};
    QStringView rest = fileName.mid(archiveName.size());
    if (!rest.startsWith(infix))
        return {};
    rest = rest.mid(infix.size());
    rest.chop(extension.size());
    if (rest.size() < 3 || (rest[0] != u'A' && rest[0] != u'B') || rest[1] != u'_')
        return {};
    const QStringView digits = rest.mid(2);
    if (digits.front() == u'0' || digits.size() > 10)
        return {};
    long long position = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return {};
        position = position * 10 + (c.unicode() - u'0');
    }
    if (position > INT_MAX)
        return {};
    return PhotoName{char(rest[0].unicode()), int(position)};
}

} // namespace brivanto
