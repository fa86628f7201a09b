#pragma once

#include <array>

namespace brivanto {

// One of the ten filters of the search screen: its box, the label above it, the record field it
// is matched against, the highlight drawn round it while it has the focus, and where it sits.
struct SearchFilterBox
{
    const char* objectName;
    const char16_t* label;
    int recordField; // index into Fields
    const char* highlight;
    int row, column;
};

// In tab order. Enter moves from each filter to the next one, and from the last to the first.
inline constexpr std::array<SearchFilterBox, 10> SearchFilterBoxes{{
    {"txtTitolo", u"Nome del gioco:", 0, "effCampo01", 0, 0},
    {"txtTipologia", u"Codice ID:", 1, "effCampo02", 0, 1},
    {"txtEditore", u"Genere:", 2, "effCampo09", 1, 0},
    {"txtSerie", u"Casa editrice:", 3, "effCampo10", 1, 1},
    {"txtDescrizione", u"Descrizione del gioco:", 4, "effCampo05", 2, 0},
    {"txtAnno", u"Anno di uscita:", 5, "effCampo06", 2, 1},
    {"txtMittente", u"Paese di origine:", 10, "effCampo07", 3, 0},
    {"txtCarta", u"Autore:", 8, "effCampo08", 3, 1},
    {"txtTesto", u"Contenuto della scatola:", 14, "effCampo03", 4, 0},
    {"txtNote", u"Note:", 20, "effCampo04", 4, 1},
}};

} // namespace brivanto
