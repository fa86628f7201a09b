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

// Whether `name` already belongs to something in `folder`: a listed archive of that archive name
// (its extension in any letter case, as the list matches it), or anything else at "<name>.gdt".
// Two archives sharing one name would share their photo files.
bool archiveNameInUse(const QString& folder, const QString& name);

// Creates the empty file of a new archive at `path`, never over an existing one. Returns 0 or the
// errno of the failure.
int createEmptyArchive(const QString& path);

// What the user reads about a file that could not be created: Italian, without the system's
// technical wording.
QString describeCreateFailure(int error);

} // namespace brivanto
