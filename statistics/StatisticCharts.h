#pragma once

#include <array>
#include <cstddef>

namespace brivanto::statistics {

// The charts of the statistics screen, in the order the screen lists them.
enum class ChartId
{
    Genre,
    Publisher,
    Condition,
    Rarity,
    Language,
    Country,
    StoragePlace,
    Decade,
    Players,
    PlayingTime,
    Complexity,
    Age,
    MostValuable
};
inline constexpr int ChartCount = 13;

// How a chart makes its groups out of a field.
enum class Grouping
{
    Text,        // the field's text, without regard to case, accents and blanks; small groups in "Altro"
    Decade,      // the decade of the year of release
    Players,     // each number of players the game can be played by, 1 to 7 and 8 or more
    PlayingTime, // the length of a game, in bands
    Age,         // the youngest recommended age
    MostValuable // the ten games of highest market value, one a bar
};

struct ChartInfo
{
    ChartId id;
    const char16_t* title;   // as the list of charts and the printed page name it
    const char16_t* heading; // the table's first column
    std::size_t field;       // index into Fields; unused for the ten most valuable
    Grouping grouping;
};

inline constexpr std::array<ChartInfo, ChartCount> Charts{{
    {ChartId::Genre, u"Genere", u"Genere", 2, Grouping::Text},
    {ChartId::Publisher, u"Casa editrice", u"Casa editrice", 3, Grouping::Text},
    {ChartId::Condition, u"Stato di conservazione", u"Stato", 18, Grouping::Text},
    {ChartId::Rarity, u"Rarit\u00E0", u"Rarit\u00E0", 9, Grouping::Text},
    {ChartId::Language, u"Lingua", u"Lingua", 7, Grouping::Text},
    {ChartId::Country, u"Paese di origine", u"Paese", 10, Grouping::Text},
    {ChartId::StoragePlace, u"Luogo di conservazione", u"Luogo", 19, Grouping::Text},
    {ChartId::Decade, u"Decennio di uscita", u"Decennio", 5, Grouping::Decade},
    {ChartId::Players, u"Numero di giocatori", u"Giocatori", 15, Grouping::Players},
    {ChartId::PlayingTime, u"Durata della partita", u"Durata", 17, Grouping::PlayingTime},
    {ChartId::Complexity, u"Livello di complessit\u00E0", u"Complessit\u00E0", 11, Grouping::Text},
    {ChartId::Age, u"Et\u00E0 consigliata", u"Et\u00E0", 16, Grouping::Age},
    {ChartId::MostValuable, u"I dieci giochi pi\u00F9 preziosi", u"Gioco", 0, Grouping::MostValuable},
}};

inline const ChartInfo& chartInfo(ChartId id)
{
    return Charts[static_cast<std::size_t>(id)];
}

// A chart of a text field shows at most this many groups of its own; the smaller ones make "Altro".
inline constexpr int ShownTextGroups = 12;
// The ten most valuable games.
inline constexpr int MostValuableCount = 10;

} // namespace brivanto::statistics
