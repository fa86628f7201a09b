#pragma once

#include "storage/GameRecord.h"

#include <QByteArrayView>
#include <QString>

namespace brivanto {

enum class CheckedSaveOutcome
{
    Written,
    // The record at the position is no longer the one the editor loaded (another workstation
    // changed it, or a deletion moved another record there or left the position empty). Nothing
    // was written.
    RecordChanged
};

// The bytes of a record as the archive holds them.
inline QByteArrayView recordView(const GameRecord& record)
{
    return {reinterpret_cast<const char*>(&record), qsizetype(RecordSize)};
}

// Overwrites record `position` (1-based) with `record` only while it still holds exactly
// `loadedRecord` (the RecordSize bytes the editor showed): the comparison and the write happen
// under the archive's exclusive lock, so a save never replaces a game it did not load. Throws
// ArchiveError as every archive operation does.
CheckedSaveOutcome writeIfUnchanged(const QString& archivePath, int position, QByteArrayView loadedRecord,
                                    const GameRecord& record);

} // namespace brivanto
