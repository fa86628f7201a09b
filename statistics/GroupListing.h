#pragma once

#include "search/ListLines.h"
#include "statistics/CollectionStatistics.h"
#include "statistics/StatisticsReading.h"

#include <QString>

namespace brivanto::statistics {

enum class ListingStatus
{
    Listed,
    ArchiveChanged,   // the archive no longer holds what the statistics read: read it again
    ArchiveUnreadable // show archiveAccessErrorText()
};

struct GroupListing
{
    ListingStatus status = ListingStatus::Listed;
    ListLines lines; // the list lines of the games, in list order
};

// The list lines of the games a selection holds, read again at their positions: exactly the games
// of the bar or figure. When the archive has changed since the statistics were read (another
// number of records, or a game there no longer in the group or no longer covered), nothing is
// listed: the list must not pass for the games of a bar it no longer matches.
GroupListing listSelection(const QString& archivePath, const CollectionStatistics& statistics,
                           const Selection& selection, const RecordTest& covered);

// What the list screen says when the archive changed after the statistics were read.
QString archiveChangedText();

} // namespace brivanto::statistics
