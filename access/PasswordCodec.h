#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace brivanto {

// The scrambling of the access password. Each character is kept by the low 8 bits of its code,
// mixed with a running 16-bit key that starts afresh for every text, and written as two
// upper-case hexadecimal digits. The two directions are exact inverses for texts of up to 255
// characters with codes below 256.
QString EncodePassword(QStringView text);

// The inverse of EncodePassword. A last, unpaired digit is ignored; digits of either case are
// read. nullopt when a pair is not a hexadecimal number.
std::optional<QString> DecodePassword(QStringView hex);

} // namespace brivanto
