#pragma once

#include <QString>

namespace brivanto {

// The folder of the executable, ending in a separator: every data file of the program lives
// here, so copying this one folder is the backup. Tests point it at a temporary folder.
QString ProgramFolder();
void setProgramFolderForTesting(const QString& folder);

} // namespace brivanto
