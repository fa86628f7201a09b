#include "storage/PhotoNames.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstring>

#include <dirent.h>
#include <sys/stat.h>

namespace brivanto {
namespace {

constexpr char Infix[] = "_Foto_";

QString extension(int spelling)
{
    QString text = QStringLiteral(".jpg");
    for (int letter = 0; letter < 3; ++letter)
        if (spelling & (1 << letter))
            text[letter + 1] = text[letter + 1].toUpper();
    return text;
}

// The spelling of "jpg" in `letters`, or -1 when they are not those letters in any case.
template <typename Char> int spellingOf(const Char* letters)
{
    constexpr char lower[] = "jpg";
    int spelling = 0;
    for (int i = 0; i < 3; ++i) {
        if (letters[i] == Char(lower[i] - ('a' - 'A')))
            spelling |= 1 << i;
        else if (letters[i] != Char(lower[i]))
            return -1;
    }
    return spelling;
}

// The part of a photo's name after "<archive name>_Foto_": the slot, '_', the position without
// leading zeros, ".jpg" in any letter case.
template <typename Char> std::optional<PhotoName> parseAfterInfix(const Char* rest, std::size_t size)
{
    constexpr std::size_t extensionSize = 4;
    if (size < 3 + extensionSize || (rest[0] != 'A' && rest[0] != 'B') || rest[1] != '_')
        return {};
    const Char* end = rest + size - extensionSize;
    const int spelling = end[0] == '.' ? spellingOf(end + 1) : -1;
    if (spelling < 0)
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
    return PhotoName{char(rest[0]), int(position), spelling};
}

} // namespace

QString photoFileName(QStringView archiveName, int position, char slot, int spelling)
{
    return photoFileName(archiveName, QString::number(position), slot, spelling);
}

QString photoFileName(QStringView archiveName, QStringView position, char slot, int spelling)
{
    return archiveName.toString() + QStringLiteral("_Foto_") + QLatin1Char(slot) + QLatin1Char('_') +
           position + extension(spelling);
}

std::optional<PhotoName> parsePhotoFileName(QStringView fileName, QStringView archiveName)
{
    const QLatin1StringView infix(Infix);
    if (!fileName.startsWith(archiveName) || !fileName.mid(archiveName.size()).startsWith(infix))
        return {};
    const QStringView rest = fileName.mid(archiveName.size() + infix.size());
    return parseAfterInfix(rest.utf16(), std::size_t(rest.size()));
}

int PhotosPresent::shownSpelling(char slot, int position) const
{
    const std::uint8_t held = spellings(slot, position);
    for (int spelling = 0; spelling < PhotoSpellings; ++spelling)
        if (held & (1 << spelling))
            return spelling;
    return 0;
}

PhotoListing listPhotos(const QString& folder, const QString& archiveName, int first, int last)
{
    PhotoListing listing;
    PhotosPresent& present = listing.photos;
    present.first = first;
    present.a.assign(last >= first ? std::size_t(last - first + 1) : 0, 0);
    present.b = present.a;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) {
        listing.ok = errno == ENOENT; // no photo folder: no photos
        return listing;
    }
    // Names are compared as the file system holds them: no name is decoded.
    const QByteArray prefix = QFile::encodeName(archiveName) + Infix;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, prefix.constData(), std::size_t(prefix.size())) != 0)
            continue;
        const char* rest = entry->d_name + prefix.size();
        const auto name = parseAfterInfix(rest, std::strlen(rest));
        if (!name || name->position < first || name->position > last)
            continue;
        (name->slot == 'A' ? present.a : present.b)[std::size_t(name->position - first)] |=
            std::uint8_t(1 << name->spelling);
    }
    // readdir ends with errno untouched at the end of the folder, set when reading failed.
    if (errno != 0) {
        listing.ok = false;
        present.a.assign(present.a.size(), 0);
        present.b.assign(present.b.size(), 0);
    }
    ::closedir(dir);
    return listing;
}

QString locatePhotoFile(const QString& folder, QStringView archiveName, int position, char slot)
{
    const QString number = QString::number(position);
    for (int spelling = 0; spelling < PhotoSpellings; ++spelling) {
        const QString path = folder + QLatin1Char('/') + photoFileName(archiveName, number, slot, spelling);
        struct stat info
        {
        };
        if (::stat(QFile::encodeName(path).constData(), &info) == 0)
            return path;
    }
    return folder + QLatin1Char('/') + photoFileName(archiveName, number, slot);
}

} // namespace brivanto
