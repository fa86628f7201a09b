#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace brivanto {

// A text field of capacity N as it lies in the archive: one length byte, then N bytes of
// Windows-1252 text of which only the first `length` are the value.
template <std::size_t N> struct Field
{
    static constexpr std::size_t capacity = N;
    std::uint8_t length = 0;
    std::array<std::uint8_t, N> bytes{};
};

// One game record, exactly as it is stored: 28 fields back to back, no padding, so a record is
// read and written as one block of RecordSize bytes.
struct GameRecord
{
    Field<120> Titolo;
    Field<50> Tipologia;
    Field<50> Editore;
    Field<50> Serie;
    Field<250> Descrizione;
    Field<4> Anno;
    Field<12> Valore;
    Field<50> Dimensioni;
    Field<120> Carta;
    Field<50> Rarita;
    Field<50> Mittente;
    Field<120> IndirizzoMit;
    Field<50> Destinatario;
    Field<120> IndirizzoDes;
    Field<250> Testo;
    Field<50> Data;
    Field<50> Francobollo;
    Field<50> Timbro;
    Field<50> Stato;
    Field<50> Luogo;
    Field<250> Note;
    Field<2> InVendita;
    Field<250> File01;
    Field<250> File02;
    Field<250> File03;
    Field<250> Desc01;
    Field<250> Desc02;
    Field<250> Desc03;
};

inline constexpr std::size_t RecordSize = 3376;

// Where each field lies, for code that walks the record as a whole (editor, export, search).
struct FieldInfo
{
    std::string_view name;
    std::size_t offset;
    std::size_t capacity;
};

inline constexpr int FieldCount = 28;

#define BRIVANTO_FIELD(name)                                                                                 \
    FieldInfo                                                                                                \
    {                                                                                                        \
#name, offsetof(GameRecord, name), decltype(GameRecord::name)::capacity                              \
    }
inline constexpr std::array<FieldInfo, FieldCount> Fields{{
    BRIVANTO_FIELD(Titolo),       BRIVANTO_FIELD(Tipologia),    BRIVANTO_FIELD(Editore),
    BRIVANTO_FIELD(Serie),        BRIVANTO_FIELD(Descrizione),  BRIVANTO_FIELD(Anno),
    BRIVANTO_FIELD(Valore),       BRIVANTO_FIELD(Dimensioni),   BRIVANTO_FIELD(Carta),
    BRIVANTO_FIELD(Rarita),       BRIVANTO_FIELD(Mittente),     BRIVANTO_FIELD(IndirizzoMit),
    BRIVANTO_FIELD(Destinatario), BRIVANTO_FIELD(IndirizzoDes), BRIVANTO_FIELD(Testo),
    BRIVANTO_FIELD(Data),         BRIVANTO_FIELD(Francobollo),  BRIVANTO_FIELD(Timbro),
    BRIVANTO_FIELD(Stato),        BRIVANTO_FIELD(Luogo),        BRIVANTO_FIELD(Note),
    BRIVANTO_FIELD(InVendita),    BRIVANTO_FIELD(File01),       BRIVANTO_FIELD(File02),
    BRIVANTO_FIELD(File03),       BRIVANTO_FIELD(Desc01),       BRIVANTO_FIELD(Desc02),
    BRIVANTO_FIELD(Desc03),
}};
#undef BRIVANTO_FIELD

// The stored layout is the file format: any change here breaks every archive already written.
static_assert(sizeof(GameRecord) == RecordSize);
static_assert(alignof(GameRecord) == 1);
static_assert(offsetof(GameRecord, Titolo) == 0);
static_assert(offsetof(GameRecord, Tipologia) == 121);
static_assert(offsetof(GameRecord, Editore) == 172);
static_assert(offsetof(GameRecord, Serie) == 223);
static_assert(offsetof(GameRecord, Descrizione) == 274);
static_assert(offsetof(GameRecord, Anno) == 525);
static_assert(offsetof(GameRecord, Valore) == 530);
static_assert(offsetof(GameRecord, Dimensioni) == 543);
static_assert(offsetof(GameRecord, Carta) == 594);
static_assert(offsetof(GameRecord, Rarita) == 715);
static_assert(offsetof(GameRecord, Mittente) == 766);
static_assert(offsetof(GameRecord, IndirizzoMit) == 817);
static_assert(offsetof(GameRecord, Destinatario) == 938);
static_assert(offsetof(GameRecord, IndirizzoDes) == 989);
static_assert(offsetof(GameRecord, Testo) == 1110);
static_assert(offsetof(GameRecord, Data) == 1361);
static_assert(offsetof(GameRecord, Francobollo) == 1412);
static_assert(offsetof(GameRecord, Timbro) == 1463);
static_assert(offsetof(GameRecord, Stato) == 1514);
static_assert(offsetof(GameRecord, Luogo) == 1565);
static_assert(offsetof(GameRecord, Note) == 1616);
static_assert(offsetof(GameRecord, InVendita) == 1867);
static_assert(offsetof(GameRecord, File01) == 1870);
static_assert(offsetof(GameRecord, File02) == 2121);
static_assert(offsetof(GameRecord, File03) == 2372);
static_assert(offsetof(GameRecord, Desc01) == 2623);
static_assert(offsetof(GameRecord, Desc02) == 2874);
static_assert(offsetof(GameRecord, Desc03) == 3125);

} // namespace brivanto
