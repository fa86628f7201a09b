#pragma once

#include "storage/ArchiveFile.h"
#include "storage/ChangeSteps.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace brivanto {

// What an import journal says: the archive's length before the import, and the bytes past its
// last whole record that the first append writes over.
struct ImportJournal
{
    std::int64_t length = 0;
    QByteArray tail;
};
QByteArray serializeImportJournal(const ImportJournal& journal);
std::optional<ImportJournal> parseImportJournal(const QByteArray& bytes);
// Beside the archive; does not end in ".gdt", so it is never listed as an archive.
QString importJournalPath(const QString& archivePath);

// An import under way. It holds the archive with its exclusive lock from before the first record
// is appended until it is committed or undone, and a journal beside the archive says how to undo
// it: killed or cut off from power at any moment, the archive is found at its next opening either
// as it was before the import or with every imported record. Made by GameArchive::beginImport.
class ArchiveImport
{
public:
    ~ArchiveImport(); // undoes what was not committed
    ArchiveImport(const ArchiveImport&) = delete;
    ArchiveImport& operator=(const ArchiveImport&) = delete;

    // The archive, to read what it holds before appending.
    ArchiveFile& archive() { return archive_; }
    // Writes the journal and brings it to the disk: nothing may be appended before.
    void begin();
    // Appends records after the last whole one (ArchiveFile::Append), from any one thread.
    void append(const GameRecord* records, std::size_t count);
    // Makes the records durable, then removes the journal: the import is then done.
    void commit();
    // Cuts the archive back to what it was and removes the journal. False when that failed: the
    // journal then stays, and the next opening of the archive finishes the undoing.
    bool undo() noexcept;

private:
    friend class GameArchive;
    ArchiveImport(const QString& archivePath, ChangeSteps* steps);

    QString journal_;
    QString folder_;
    ChangeSteps* steps_;
    ArchiveFile archive_;
    bool begun_ = false;
    bool done_ = false;
};

// Puts back the archive an interrupted import left, as its journal says. The caller holds
// `archive` open with its exclusive lock. Doing it again after a crash in the middle ends in the
// same place.
void recoverImport(ArchiveFile& archive, ChangeSteps* steps);

} // namespace brivanto
