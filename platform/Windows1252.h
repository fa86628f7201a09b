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
// The same, written at `out`, which has room for `count` characters; returns the end.
QChar* decodeWindows1252(const std::uint8_t* bytes, std::size_t count, QChar* out);

// One byte per character; a character the code page cannot hold (a pair of surrogates counts as
// one character) becomes '?'.
QByteArray toWindows1252(QStringView text);

} // namespace brivanto::platform
