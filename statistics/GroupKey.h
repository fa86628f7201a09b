#pragma once

#include <cstdint>
#include <string>

namespace brivanto::statistics {

// The key under which a stored text is grouped with the texts that differ from it only in letter
// case, accents and blanks: "Rarità", "RARITA'" and " rarita " are one group. The text is in the
// archive's code page (Windows-1252), already trimmed. Letters lose their case and accents
// (à, á, â, ä... become a; ç c; ñ n; š s; ž z; ÿ y), an apostrophe right after a vowel at the end
// of a word is an accent written on the keyboard ("Citta'", "perche'") and goes, and every run of
// blanks and control characters is one blank. Every other character stays as it is.
std::string groupKey(const std::uint8_t* text, std::size_t size);

} // namespace brivanto::statistics
