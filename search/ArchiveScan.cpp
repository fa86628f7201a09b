#include "search/ArchiveScan.h"

#include "editor/RecordEditorAccess.h"
#include "search/ListLine.h"
#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"
#include "storage/GameArchive.h"

namespace brivanto {

ListScan scanArchive(const QString& path, const std::function<bool(const GameRecord&)>& wanted)
{
    ListScan scan;
    try {
        ArchiveFile archive;
        GameArchive::openForReading(archive, path);
        scan.lines.reserve(archive.RecordCount());
        while (!archive.AtEnd()) {
            const GameRecord& record = archive.ReadInPlace();
            if (wanted(record))
                scan.lines.append(record);
        }
        archive.Close();
    } catch (const ArchiveError&) {
        scan.failed = true;
    }
    scan.lines.sort();
    return scan;
}

AnsweringRecords findAnsweringRecords(const QString& path, QStringView line)
{
    const QStringView wanted = trimmedView(line);
    AnsweringRecords answering;
    ArchiveFile archive;
    GameArchive::openForReading(archive, path);
    QString built;
    while (!archive.AtEnd()) {
        const GameRecord& record = archive.ReadInPlace();
        writeListLine(record, built);
        if (trimmedView(built) != wanted)
            continue;
        answering.last = ListedRecord{record, archive.Pointer()};
        if (readForSale(record))
            answering.lastMarked = answering.last;
    }
    archive.Close();
    return answering;
}

QString listedRecordGoneText()
{
    return QStringLiteral("Il gioco da tavolo selezionato non si trova pi\u00F9 in archivio: dopo la "
                          "compilazione dell'elenco \u00E8 stato eliminato o modificato, forse da un'altra "
                          "postazione.\r\n\r\nChiudere l'elenco e ripetere la ricerca per aggiornarlo.");
}

void showAnsweringRecords(RecordEditorAccess& editor, const AnsweringRecords& answering)
{
    if (answering.lastMarked && answering.lastMarked->position != answering.last->position)
        editor.ShowRecord(answering.lastMarked->record, answering.lastMarked->position);
    if (answering.last)
        editor.ShowRecord(answering.last->record, answering.last->position);
}

} // namespace brivanto
