#include "storage/ArchiveFolder.h"

#include <QDir>

#include <algorithm>

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

} // namespace brivanto
