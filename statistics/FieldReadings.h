#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace brivanto::statistics {

// What the statistics read out of a field typed in words: the number of players, the year, the
// length of a game, the recommended age. Each reader takes the field's group key (GroupKey.h:
// trimmed, lower case, no accents, single blanks) and reads only what it cannot misread; anything
// else is "not recognised" and counts as such, never as a guess.

// The numbers of players a game can be played by: bit n - 1 for n players (1 to 7), bit 7 for
// eight or more. "2-4" (with any dash, "/" or "a"), "2+", "2 o più", "10", "2, 4", "2-4 giocatori";
// empty when not recognised ("tutti", "4-2", "0").
inline constexpr int PlayerGroups = 8;
std::uint8_t readPlayers(std::string_view key);

// A year of four digits from 1000 to `currentYear`: "1995"; none for "0", "'80", "80", a year to
// come.
std::optional<int> readYear(std::string_view key, int currentYear);

// The length of a game in minutes: "45", "45 minuti", "45'", "1 ora", "1,5 ore", "1h30",
// "1 ora e 30", "30-60 minuti" (the middle of a range), "mezz'ora"; none when not recognised or
// longer than a hundred hours.
std::optional<int> readPlayingMinutes(std::string_view key);

// The youngest recommended age in years: "10", "10+", "10 anni", "da 10 anni", "dai 10 anni in su",
// "8-12"; none when not recognised or not from 1 to 99.
std::optional<int> readAge(std::string_view key);

} // namespace brivanto::statistics
