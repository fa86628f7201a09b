#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>

namespace brivanto::platform {

// The archive's code page. A table of our own rather than a converter plug-in: it is on the hot
// path of every record shown, searched or exported, and its answers must never depend on the
// machine's conversion libraries.
QString fromWindows1252(const std::uint8_t* bytes, std::size_t count);
// The same, appended to `text` without a text of its own in between.
void appendWindows1252(QString& text, const std::uint8_t* bytes, std::size_t count);

// One byte per character; a character the code page cannot hold (a pair of surrogates counts as
// one character) becomes '?'.
QByteArray toWindows1252(QStringView text);

} // namespace brivanto::platform
