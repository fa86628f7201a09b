#include "storage/PhotoNames.h"

#include <QFile>

#include <climits>
#include <cstring>

#include <dirent.h>

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

namespace {

constexpr char Infix[] = "_Foto_";

// The part of a photo's name after "<archive name>_Foto_": the slot, '_', the position without
// leading zeros, ".jpg".
template <typename Char> std::optional<PhotoName> parseAfterInfix(const Char* rest, std::size_t size)
{
    constexpr std::size_t extension = 4;
    if (size < 3 + extension || (rest[0] != 'A' && rest[0] != 'B') || rest[1] != '_')
        return {};
    const Char* end = rest + size - extension;
    if (end[0] != '.' || end[1] != 'j' || end[2] != 'p' || end[3] != 'g')
        return {};
    const Char* digits = rest + 2;
    if (digits[0] == '0' || end - digits > 10)
        return {};
    long long position = 0;
    for (const Char* c = digits; c < end; ++c) {
        if (*c < '0' || *c > '9')
            return {};
        position = position * 10 + (*c - '0');
    }
    if (position > INT_MAX)
        return {};
    return PhotoName{char(rest[0]), int(position)};
}

} // namespace

std::optional<PhotoName> parsePhotoFileName(QStringView fileName, QStringView archiveName)
{
    const QLatin1StringView infix(Infix);
    if (!fileName.startsWith(archiveName) || !fileName.mid(archiveName.size()).startsWith(infix))
        return {};
    const QStringView rest = fileName.mid(archiveName.size() + infix.size());
    return parseAfterInfix(rest.utf16(), std::size_t(rest.size()));
}

PhotosPresent listPhotos(const QString& folder, const QString& archiveName, int first, int last)
{
    PhotosPresent present;
    present.first = first;
    present.a.assign(last >= first ? std::size_t(last - first + 1) : 0, 0);
    present.b = present.a;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return present; // no photo folder: no photos
    // Names are compared as the file system holds them: no name is decoded.
    const QByteArray prefix = QFile::encodeName(archiveName) + Infix;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, prefix.constData(), std::size_t(prefix.size())) != 0)
            continue;
        const char* rest = entry->d_name + prefix.size();
        const auto name = parseAfterInfix(rest, std::strlen(rest));
        if (!name || name->position < first || name->position > last)
            continue;
        (name->slot == 'A' ? present.a : present.b)[std::size_t(name->position - first)] = 1;
    }
    ::closedir(dir);
    return present;
}

} // namespace brivanto
