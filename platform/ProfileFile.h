#pragma once

#include <QString>

#include <optional>

namespace brivanto::platform {

// INI profile files read and written the way Windows' profile functions do it: section and key
// names in any letter case, LF or CRLF line ends, blanks around names and values ignored, a
// value in matching quotes taken without them, the first matching section and key winning.
// The file's text is Windows-1252.
//
// Reading: a missing file, section or key gives the empty text; nullopt means the file is there
// but cannot be read.
std::optional<QString> readProfileString(const QString& path, const QString& section, const QString& key);

// Writing: creates the file, the section or the key when absent and replaces the value otherwise,
// keeping every other line as it was. The file is replaced in one step, so a failed write leaves
// the previous content in force. Returns false on failure.
bool writeProfileString(const QString& path, const QString& section, const QString& key,
                        const QString& value);

} // namespace brivanto::platform
