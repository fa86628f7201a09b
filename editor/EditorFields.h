#pragma once

#include "storage/GameRecord.h"

#include <QString>

#include <array>

namespace brivanto {

// One of the 21 edits of the record editor: its control, its label, the record field it edits
// and where it sits. The table below is the one place that ties the screen to the record.
struct EditorField
{
    const char* objectName;  // txtTitolo
    const char16_t* label;   // "Nome del gioco:"
    int recordField;         // index into Fields
    int maxLength;           // the field's capacity
    int row;                 // 0-based row of the field panel
    int x, width;            // inside the field panel
    Qt::Alignment alignment; // of the text inside the edit
};

inline constexpr int EditorFieldCount = 21;

namespace field_text {
inline constexpr Qt::Alignment Left = Qt::AlignLeft | Qt::AlignVCenter;
inline constexpr Qt::Alignment Centre = Qt::AlignCenter;
inline constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignVCenter;
} // namespace field_text

// In record order, which is also the tab order and the Enter order. The field panel is 872
// pixels wide inside its margins; fields in one row stand 12 pixels apart.
inline constexpr std::array<EditorField, EditorFieldCount> EditorFields{{
    {"txtTitolo", u"Nome del gioco:", 0, 120, 0, 0, 580, field_text::Left},
    {"txtTipologia", u"Codice ID:", 1, 50, 0, 592, 280, field_text::Left},
    {"txtEditore", u"Genere (es. strategico, cooperativo ecc.):", 2, 50, 1, 0, 580, field_text::Left},
    {"txtSerie", u"Casa editrice:", 3, 50, 1, 592, 280, field_text::Left},
    {"txtDescrizione", u"Descrizione del gioco:", 4, 250, 2, 0, 872, field_text::Left},
    {"txtAnno", u"Anno di uscita:", 5, 4, 3, 0, 130, field_text::Centre},
    {"txtValore", u"Valore di mercato: \u20AC", 6, 12, 3, 142, 200, field_text::Right},
    {"txtDimensioni", u"Lingua del gioco:", 7, 50, 3, 354, 518, field_text::Left},
    {"txtCarta", u"Autore:", 8, 120, 4, 0, 580, field_text::Left},
    {"txtRarita", u"Rarit\u00E0:", 9, 50, 4, 592, 280, field_text::Left},
    {"txtMittente", u"Paese di origine:", 10, 50, 5, 0, 430, field_text::Left},
    {"txtIndirizzoMit", u"Livello di complessit\u00E0:", 11, 120, 5, 442, 430, field_text::Left},
    {"txtDestinatario", u"Dimensioni della scatola:", 12, 50, 6, 0, 430, field_text::Left},
    {"txtIndirizzoDes", u"Difetti:", 13, 120, 6, 442, 430, field_text::Left},
    {"txtTesto", u"Contenuto della scatola:", 14, 250, 7, 0, 872, field_text::Left},
    {"txtData", u"Numero di giocatori:", 15, 50, 8, 0, 282, field_text::Left},
    {"txtFrancobollo", u"Et\u00E0 consigliata:", 16, 50, 8, 294, 282, field_text::Left},
    {"txtTimbro", u"Durata media della partita:", 17, 50, 8, 588, 284, field_text::Left},
    {"txtStato", u"Stato conservazione:", 18, 50, 9, 0, 430, field_text::Left},
    {"txtLuogo", u"Luogo conservazione:", 19, 50, 9, 442, 430, field_text::Left},
    // "Note:" stands to the left of its edit, and the for-sale mark follows it on the same row.
    {"txtNote", u"Note:", 20, 250, 10, 56, 600, field_text::Left},
}};

// The table follows the record: the same order and the same capacities.
consteval bool editorFieldsFollowTheRecord()
{
    for (int i = 0; i < EditorFieldCount; ++i) {
        if (EditorFields[i].recordField != i ||
            EditorFields[i].maxLength != static_cast<int>(Fields[i].capacity))
            return false;
    }
    return true;
}
static_assert(editorFieldsFollowTheRecord());

// The index of the field that Enter leads to: the next one, the last leading back to the first.
constexpr int nextEditorField(int index)
{
    return (index + 1) % EditorFieldCount;
}

} // namespace brivanto
