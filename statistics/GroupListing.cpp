#include "statistics/GroupListing.h"

#include "storage/ArchiveFile.h"
#include "storage/GameArchive.h"

namespace brivanto::statistics {

GroupListing listSelection(const QString& archivePath, const CollectionStatistics& statistics,
                           const Selection& selection, const RecordTest& covered)
{
    GroupListing listing;
    const std::vector<int> positions = statistics.positions(selection);
    try {
        ArchiveFile archive;
        GameArchive::openForReading(archive, archivePath);
        if (archive.RecordCount() != statistics.archiveRecords()) {
            listing.status = ListingStatus::ArchiveChanged;
            return listing;
        }
        listing.lines.reserve(qsizetype(positions.size()));
        for (const int position : positions) {
            archive.Seek(position - 1);
            const GameRecord& record = archive.ReadInPlace();
            if (!statistics.belongs(record, selection) || (covered && !covered(record))) {
                listing.status = ListingStatus::ArchiveChanged;
                listing.lines.clear();
                return listing;
            }
            listing.lines.append(record);
        }
        archive.Close();
    } catch (const ArchiveError&) {
        listing.status = ListingStatus::ArchiveUnreadable;
        listing.lines.clear();
        return listing;
    }
    listing.lines.sort();
    return listing;
}

QString archiveChangedText()
{
    return QStringLiteral(
        "L'archivio \u00E8 cambiato dopo la lettura delle statistiche, forse da un'altra "
        "postazione: i giochi del gruppo non si possono elencare.\r\n\r\nPremere \"Aggiorna\" "
        "per leggere di nuovo l'archivio.");
}

} // namespace brivanto::statistics
