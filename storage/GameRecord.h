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
    Field<120> name;
    Field<50> idCode;
    Field<50> genre;
    Field<50> publisher;
    Field<250> description;
    Field<4> year;
    Field<12> marketValue;
    Field<50> language;
    Field<120> author;
    Field<50> rarity;
    Field<50> countryOfOrigin;
    Field<120> complexity;
    Field<50> boxSize;
    Field<120> defects;
    Field<250> boxContents;
    Field<50> players;
    Field<50> recommendedAge;
    Field<50> playingTime;
    Field<50> condition;
    Field<50> storagePlace;
    Field<250> notes;
    Field<2> forSale;
    Field<250> attachment1;
    Field<250> attachment2;
    Field<250> attachment3;
    Field<250> attachmentDescription1;
    Field<250> attachmentDescription2;
    Field<250> attachmentDescription3;
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
    BRIVANTO_FIELD(name),
    BRIVANTO_FIELD(idCode),
    BRIVANTO_FIELD(genre),
    BRIVANTO_FIELD(publisher),
    BRIVANTO_FIELD(description),
    BRIVANTO_FIELD(year),
    BRIVANTO_FIELD(marketValue),
    BRIVANTO_FIELD(language),
    BRIVANTO_FIELD(author),
    BRIVANTO_FIELD(rarity),
    BRIVANTO_FIELD(countryOfOrigin),
    BRIVANTO_FIELD(complexity),
    BRIVANTO_FIELD(boxSize),
    BRIVANTO_FIELD(defects),
    BRIVANTO_FIELD(boxContents),
    BRIVANTO_FIELD(players),
    BRIVANTO_FIELD(recommendedAge),
    BRIVANTO_FIELD(playingTime),
    BRIVANTO_FIELD(condition),
    BRIVANTO_FIELD(storagePlace),
    BRIVANTO_FIELD(notes),
    BRIVANTO_FIELD(forSale),
    BRIVANTO_FIELD(attachment1),
    BRIVANTO_FIELD(attachment2),
    BRIVANTO_FIELD(attachment3),
    BRIVANTO_FIELD(attachmentDescription1),
    BRIVANTO_FIELD(attachmentDescription2),
    BRIVANTO_FIELD(attachmentDescription3),
}};
#undef BRIVANTO_FIELD

// The stored layout is the file format: any change here breaks every archive already written.
static_assert(sizeof(GameRecord) == RecordSize);
static_assert(alignof(GameRecord) == 1);
static_assert(offsetof(GameRecord, name) == 0);
static_assert(offsetof(GameRecord, idCode) == 121);
static_assert(offsetof(GameRecord, genre) == 172);
static_assert(offsetof(GameRecord, publisher) == 223);
static_assert(offsetof(GameRecord, description) == 274);
static_assert(offsetof(GameRecord, year) == 525);
static_assert(offsetof(GameRecord, marketValue) == 530);
static_assert(offsetof(GameRecord, language) == 543);
static_assert(offsetof(GameRecord, author) == 594);
static_assert(offsetof(GameRecord, rarity) == 715);
static_assert(offsetof(GameRecord, countryOfOrigin) == 766);
static_assert(offsetof(GameRecord, complexity) == 817);
static_assert(offsetof(GameRecord, boxSize) == 938);
static_assert(offsetof(GameRecord, defects) == 989);
static_assert(offsetof(GameRecord, boxContents) == 1110);
static_assert(offsetof(GameRecord, players) == 1361);
static_assert(offsetof(GameRecord, recommendedAge) == 1412);
static_assert(offsetof(GameRecord, playingTime) == 1463);
static_assert(offsetof(GameRecord, condition) == 1514);
static_assert(offsetof(GameRecord, storagePlace) == 1565);
static_assert(offsetof(GameRecord, notes) == 1616);
static_assert(offsetof(GameRecord, forSale) == 1867);
static_assert(offsetof(GameRecord, attachment1) == 1870);
static_assert(offsetof(GameRecord, attachment2) == 2121);
static_assert(offsetof(GameRecord, attachment3) == 2372);
static_assert(offsetof(GameRecord, attachmentDescription1) == 2623);
static_assert(offsetof(GameRecord, attachmentDescription2) == 2874);
static_assert(offsetof(GameRecord, attachmentDescription3) == 3125);

} // namespace brivanto
