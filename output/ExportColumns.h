#pragma once

#include "editor/EditorFields.h"
#include "storage/GameRecord.h"

#include <array>

namespace brivanto {

// One column of the export grid and, for columns 1 to 22, of the exported worksheet. Column 0 is
// the record's position: shown in the grid, never exported.
struct ExportColumn
{
    const char* objectName; // colTitolo
    const char16_t* header; // the grid's header and the worksheet's heading
    int gridWidth;
    bool editable;   // typing changes the exported cell, never the archive
    int exportWidth; // the heading cell's width in the worksheet; 0 for the position
};

inline constexpr int ExportColumnCount = 23;
// Columns 1..22 hold the record fields name..forSale, in record order.
inline constexpr int ExportedFieldCount = ExportColumnCount - 1;

inline constexpr std::array<ExportColumn, ExportColumnCount> ExportColumns{{
    {"colNum", u"N.", 60, false, 0},
    {"colTitolo", u"Nome del gioco", 280, false, 300},
    {"colTipologia", u"Codice ID", 200, true, 250},
    {"colEditore", u"Genere", 250, false, 300},
    {"colSerie", u"Casa editrice", 200, false, 250},
    {"colDescrizione", u"Descrizione del gioco", 400, false, 450},
    {"colAnno", u"Anno di uscita", 180, false, 200},
    {"colValore", u"Valore di mercato", 180, true, 250},
    {"colDimensioni", u"Lingua del gioco", 200, false, 250},
    {"colCarta", u"Autore", 200, false, 250},
    {"colRarita", u"Rarit\u00E0", 200, true, 250},
    {"colMittente", u"Paese di origine", 200, false, 300},
    {"colIndirizzoMit", u"Livello di complessit\u00E0", 200, false, 300},
    {"colDestinatario", u"Dimensioni della scatola", 250, true, 350},
    {"colIndirizzoDes", u"Difetti", 250, true, 350},
    {"colTesto", u"Contenuto della scatola", 400, true, 450},
    {"colData", u"Numero di giocatori", 200, true, 250},
    {"colFrancobollo", u"Et\u00E0 consigliata", 200, true, 300},
    {"colTimbro", u"Durata media della partita", 200, true, 300},
    {"colStato", u"Stato conservazione", 200, true, 250},
    {"colLuogo", u"Luogo conservazione", 250, true, 300},
    {"colNote", u"Note", 350, true, 400},
    {"colInVendita", u"In vendita", 120, true, 200},
}};

// The exported column c shows record field c - 1, edited on the editor by the control of the same
// id ("colTitolo" and "txtTitolo"); the for-sale mark is the check box "chkInVendita".
consteval bool exportColumnsFollowTheRecord()
{
    for (int c = 1; c < ExportColumnCount; ++c) {
        const std::string_view name = ExportColumns[c].objectName;
        const std::string_view control =
            c - 1 < EditorFieldCount ? std::string_view(EditorFields[c - 1].objectName) : "chkInVendita";
        if (name.substr(3) != control.substr(3))
            return false;
    }
    return true;
}
static_assert(exportColumnsFollowTheRecord());

} // namespace brivanto
