#include "search/ArchiveScan.h"

#include "editor/RecordEditorAccess.h"
#include "platform/Windows1252.h"
#include "search/ListBuilder.h"
#include "search/ListLine.h"
#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"
#include "storage/GameArchive.h"

#include <array>

namespace brivanto {

ListScan scanArchive(const QString& path, const std::function<bool(const GameRecord&)>& wanted)
{
    ListScan scan;
    ArchiveFile archive;
    try {
        GameArchive::openForReading(archive, path);
    } catch (const ArchiveError&) {
        scan.failed = true;
        return scan;
    }
    // The lines are sorted block by block while the archive is still being read.
    ListBuilder lines(archive.RecordCount());
    try {
        while (!archive.AtEnd()) {
            const GameRecord& record = archive.ReadInPlace();
            if (wanted(record))
                lines.append(record);
        }
        archive.Close();
    } catch (const ArchiveError&) {
        scan.failed = true;
    }
    scan.lines = lines.finish();
    return scan;
}

AnsweringRecords findAnsweringRecords(const QString& path, QStringView line)
{
    // Lines are compared as the archive's bytes, without decoding a line per record: the code
    // page gives every byte a character of its own, and the bytes 0x00..0x20 are exactly the
    // characters that trimming removes. A line holding a character the code page cannot hold is
    // answered by no record.
    const QStringView trimmedLine = trimmedView(line);
    const QByteArray wanted = platform::toWindows1252(trimmedLine);
    const bool answerable =
        platform::fromWindows1252(reinterpret_cast<const std::uint8_t*>(wanted.constData()),
                                  static_cast<std::size_t>(wanted.size())) == trimmedLine;
    AnsweringRecords answering;
    ArchiveFile archive;
    GameArchive::openForReading(archive, path);
    std::array<char, LongestListLine> built;
    while (!archive.AtEnd()) {
        const GameRecord& record = archive.ReadInPlace();
        if (!answerable || !listLineCanBe(record, wanted))
            continue;
        const char* begin = built.data();
        const char* end = writeListLineBytes(record, built.data());
        while (begin < end && static_cast<std::uint8_t>(*begin) <= 0x20)
            ++begin;
        while (end > begin && static_cast<std::uint8_t>(end[-1]) <= 0x20)
            --end;
        if (QByteArrayView(begin, end) != QByteArrayView(wanted))
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
