#pragma once

#include "search/ListLines.h"
#include "storage/GameRecord.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace brivanto {

class RecordEditorAccess;

// The list lines of the records of an archive that `wanted` accepts, in list order. The archive
// is read once, from its first record to its last; a missing archive is created empty. When the
// archive cannot be opened or read, `failed` is set and `lines` holds what was read before.
struct ListScan
{
    ListLines lines;
    bool failed = false;
};
ListScan scanArchive(const QString& path, const std::function<bool(const GameRecord&)>& wanted);

// The records of an archive whose list line, trimmed, is the given line, trimmed. Putting each of
// them on the editor in file order leaves the last one there, with the for-sale box as the last
// of them that holds "Sì" or "No" set it; these two are all that is kept.
struct ListedRecord
{
    GameRecord record;
    int position;
};
struct AnsweringRecords
{
    std::optional<ListedRecord> last;
    std::optional<ListedRecord> lastMarked;
};
// Throws ArchiveError when the archive cannot be opened or read to its end.
AnsweringRecords findAnsweringRecords(const QString& path, QStringView line);

// The notice for a listed line that no record of the archive answers any more.
QString listedRecordGoneText();

// Puts the answering records on the editor, with their photos, as showing each of them in file
// order would.
void showAnsweringRecords(RecordEditorAccess& editor, const AnsweringRecords& answering);

} // namespace brivanto
