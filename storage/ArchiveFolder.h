#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace brivanto {

inline constexpr QLatin1StringView ArchiveExtension{".gdt"};

// The system's case-insensitive order: only the letters a-z are folded (to A-Z); every other
// character, accented letters included, compares by its code.
QString foldAsciiLetters(QStringView text);
int compareFoldingAsciiLetters(QStringView a, QStringView b);

// The file names (extension included, in any letter case) of the archives directly in `folder`,
// in the system's order.
QStringList listArchiveFiles(const QString& folder);

// The archive name of a list entry: the entry without its last four characters (".gdt").
QString archiveNameOfEntry(const QString& entry);

} // namespace brivanto
