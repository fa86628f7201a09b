#include "search/ArchiveScan.h"

#include "editor/RecordEditorAccess.h"
#include "platform/Windows1252.h"
#include "search/ListBuilder.h"
#include "search/ListLine.h"
#include "storage/ArchiveFile.h"
#include "storage/ArchiveHalves.h"
#include "storage/FieldText.h"
#include "storage/GameArchive.h"

#include <array>
#include <atomic>
#include <exception>
#include <optional>
#include <thread>

namespace brivanto {

ListScan scanArchive(const QString& path, const std::function<bool(const GameRecord&)>& wanted)
{
    ListScan scan;
    std::optional<ArchiveHalves> halves;
    try {
        halves.emplace(path);
    } catch (const ArchiveError&) {
        scan.failed = true;
        return scan;
    }
    // Each half's lines are sorted block by block while the archive is still being read; the
    // runs of both are merged at the end, the first half's first where lines are equal.
    const auto scanPart = [&wanted](ArchiveFile& archive, int from, int to, ListLines& runs) {
        ListBuilder lines(to - from);
        bool read = true;
        try {
            for (int index = from; index < to; ++index) {
                const GameRecord& record = archive.ReadInPlace();
                if (wanted(record))
                    lines.append(record);
            }
            archive.Close();
        } catch (const ArchiveError&) {
            read = false;
        }
        runs = lines.finishRuns();
        return read;
    };
    ListLines secondRuns;
    std::atomic<bool> secondRead = true;
    std::exception_ptr secondFailure;
    {
        std::jthread second;
        if (ArchiveFile* archive = halves->second()) {
            second = std::jthread([&, archive] {
                try {
                    secondRead = scanPart(*archive, halves->middle(), halves->count(), secondRuns);
                } catch (...) {
                    secondFailure = std::current_exception(); // memory that ran out
                }
            });
        }
        scan.failed = !scanPart(halves->first(), 0, halves->middle(), scan.lines);
    }
    if (secondFailure)
        std::rethrow_exception(secondFailure);
    scan.failed = scan.failed || !secondRead;
    scan.lines.appendRuns(std::move(secondRuns));
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
    ArchiveHalves halves(path);
    AnsweringRecords second;
    std::exception_ptr secondFailure;
    AnsweringRecords answering;
    {
        std::jthread other;
        if (ArchiveFile* archive = halves.second()) {
            other = std::jthread([&, archive] {
                try {
                    second = findIn(*archive, halves.middle(), halves.count());
                } catch (...) {
                    secondFailure = std::current_exception();
                }
            });
        }
        answering = findIn(halves.first(), 0, halves.middle());
    }
    if (secondFailure)
        std::rethrow_exception(secondFailure);
    if (second.last)
        answering.last = second.last;
    if (second.lastMarked)
        answering.lastMarked = second.lastMarked;
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
