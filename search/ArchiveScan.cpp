#include "search/ArchiveScan.h"

#include "editor/RecordEditorAccess.h"
#include "platform/Windows1252.h"
#include "search/ListBuilder.h"
#include "search/ListLine.h"
#include "storage/ArchiveFile.h"
#include "storage/ArchiveHalves.h"
#include "storage/FieldText.h"

#include <array>

namespace brivanto {

ListScan scanArchive(const QString& path, const std::function<bool(const GameRecord&)>& wanted)
{
    // Each half's lines are sorted block by block while the archive is still being read; the
    // runs of both are merged at the end, the first half's first where lines are equal.
    const auto scanPart = [&wanted](ArchiveFile& archive, int from, int to) {
        ListBuilder lines(to - from);
        ListScan part;
        try {
            for (int index = from; index < to; ++index) {
                const GameRecord& record = archive.ReadInPlace();
                if (wanted(record))
                    lines.append(record);
            }
            archive.Close();
        } catch (const ArchiveError&) {
            part.failed = true;
        }
        part.lines = lines.finishRuns();
        return part;
    };
    std::array<ListScan, 2> parts;
    try {
        parts = ArchiveHalves(path).readBoth(scanPart);
    } catch (const ArchiveError&) {
        ListScan unopened;
        unopened.failed = true;
        return unopened;
    }
    ListScan scan = std::move(parts[0]);
    scan.failed = scan.failed || parts[1].failed;
    scan.lines.appendRuns(std::move(parts[1].lines));
    scan.lines.mergeRuns();
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
    // Each half keeps its own last answers; the second half's, where it has them, come later.
    const auto findIn = [&](ArchiveFile& archive, int from, int to) {
        AnsweringRecords answering;
        std::array<char, LongestListLine> built;
        for (int index = from; index < to; ++index) {
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
            answering.last = ListedRecord{record, index + 1};
            if (readForSale(record))
                answering.lastMarked = answering.last;
        }
        archive.Close();
        return answering;
    };
    const auto parts = ArchiveHalves(path).readBoth(findIn);
    AnsweringRecords answering = parts[0];
    if (parts[1].last)
        answering.last = parts[1].last;
    if (parts[1].lastMarked)
        answering.lastMarked = parts[1].lastMarked;
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
