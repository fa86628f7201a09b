#pragma once

#include "exchange/ImportText.h"
#include "storage/GameRecord.h"

#include <array>
#include <optional>

namespace brivanto {

class CsvReader;

// The columns of a collection exported from BoardGameGeek that the import reads, found by their
// names: the site adds and drops columns over time, so no position is ever assumed.
class BoardGameGeekColumns
{
public:
    enum Column
    {
        ObjectName,
        OriginalName,
        ObjectId,
        YearPublished,
        MinPlayers,
        MaxPlayers,
        PlayingTime,
        MinPlayTime,
        MaxPlayTime,
        AgeRange,
        AverageWeight,
        Publishers,
        Languages,
        Condition,
        Location,
        Comment,
        PrivateComment,
        CurrentValue,
        ValueCurrency,
        ForTrade,
        Own,
        ColumnCount
    };

    // The columns of a heading row; nothing unless it names both "objectname" and "objectid".
    static std::optional<BoardGameGeekColumns> fromHeading(const CsvReader& heading, TextEncoding encoding);

    // The column's index in the rows, -1 when the file has no such column.
    int indexOf(Column column) const { return index_[column]; }

private:
    std::array<int, ColumnCount> index_{};
};

struct BoardGameGeekCounts
{
    StoreCounts store;
    int otherCurrency = 0;  // market values left out because they are not in euros
    int numbersInNotes = 0; // numbers too long for their field, kept in the notes instead
};

// The record of one row, as the editor would hold it after the user typed the game in. False
// for a game the collector does not own (the row says own = 0; without the column every row is
// owned). Values missing at the end of a short row are empty. A number too long for its field is
// never cut into another number: the field stays empty and the notes get a line such as
// "Anno: -2200", or, where the notes have no room for it, it counts as cut.
bool boardGameGeekRecord(const CsvReader& row, const BoardGameGeekColumns& columns, TextEncoding encoding,
                         GameRecord& record, BoardGameGeekCounts& counts);

} // namespace brivanto
