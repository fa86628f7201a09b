#pragma once

#include "storage/GameRecord.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace brivanto::testing {

// Puts `bytes` into the field exactly as another program may have stored them: the length byte
// counts them all, and nothing is trimmed or converted on the way. (The program's own text-to-field
// conversion trims, so a record built with it never shows what reading must cope with.)
template <std::size_t N> void putRawField(Field<N>& field, std::string_view bytes)
{
    field.length = static_cast<std::uint8_t>(bytes.size());
    field.bytes.fill(0);
    for (std::size_t i = 0; i < std::min(bytes.size(), N); ++i)
        field.bytes[i] = static_cast<std::uint8_t>(bytes[i]);
}

} // namespace brivanto::testing
