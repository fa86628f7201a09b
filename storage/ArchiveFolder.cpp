#include "storage/ArchiveFolder.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace brivanto {
namespace {
char16_t foldAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}
} // namespace

QString foldAsciiLetters(QStringView text)
{
    QString folded = text.toString();
    for (QChar& c : folded)
        c = QChar(foldAscii(c.unicode()));
    return folded;
}

int compareFoldingAsciiLetters(QStringView a, QStringView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t x = foldAscii(a[i].unicode());
        const char16_t y = foldAscii(b[i].unicode());
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

QStringList listArchiveFiles(const QString& folder)
{
    QDir dir(folder);
    QStringList entries;
    const auto files = dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::NoSort);
    for (const QFileInfo& file : files) {
        if (file.fileName().endsWith(ArchiveExtension, Qt::CaseInsensitive))
            entries.append(file.fileName());
    }
    std::sort(entries.begin(), entries.end(),
              [](const QString& a, const QString& b) { return compareFoldingAsciiLetters(a, b) < 0; });
    return entries;
}

QString archiveNameOfEntry(const QString& entry)
{
    return entry.left(std::max<qsizetype>(0, entry.size() - 4));
}

bool archiveNameInUse(const QString& folder, const QString& name)
{
    if (QFileInfo::exists(QDir(folder).filePath(name + ArchiveExtension)))
        return true;
    const QStringList entries = listArchiveFiles(folder);
    return std::any_of(entries.cbegin(), entries.cend(),
                       [&name](const QString& entry) { return archiveNameOfEntry(entry) == name; });
}

int createEmptyArchive(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.contains('\0'))
        return EINVAL;
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    if (::close(fd) != 0 && errno != EINTR)
        return errno;
    return 0;
}

QString describeCreateFailure(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("Mancano i privilegi di scrittura nella cartella del programma.");
    case EROFS:
        return QStringLiteral("La cartella del programma si trova su un disco protetto dalla scrittura.");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Lo spazio su disco \u00E8 esaurito.");
    case ENAMETOOLONG:
        return QStringLiteral("Il nome \u00E8 troppo lungo per il file system.");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("La cartella del programma non \u00E8 pi\u00F9 raggiungibile.");
    case EEXIST:
        return QStringLiteral("Esiste gi\u00E0 un file con questo nome.");
    case EINVAL:
    case EILSEQ:
        return QStringLiteral("Il nome contiene un carattere non ammesso dal file system.");
    default:
        return QStringLiteral("Il file system ha rifiutato l'operazione (codice %1).").arg(error);
    }
}

} // namespace brivanto
