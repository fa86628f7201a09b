#include "storage/ArchiveImport.h"

#include "storage/StorageFiles.h"

#include <QByteArrayList>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace brivanto {
namespace {

using namespace storage_files;

constexpr char Header[] = "brivanto importazione 1";
constexpr char Footer[] = "fine";

std::int64_t wholeEnd(std::int64_t length)
{
    return length / std::int64_t(RecordSize) * std::int64_t(RecordSize);
}

} // namespace

QByteArray serializeImportJournal(const ImportJournal& journal)
{
    return QByteArray(Header) + "\nlunghezza " + QByteArray::number(journal.length) + "\ncoda " +
           journal.tail.toHex() + '\n' + Footer + '\n';
}

std::optional<ImportJournal> parseImportJournal(const QByteArray& bytes)
{
    const QByteArrayList lines = bytes.split('\n');
    if (lines.size() != 5 || lines[0] != Header || !lines[1].startsWith("lunghezza ") ||
        !lines[2].startsWith("coda ") || lines[3] != Footer || !lines[4].isEmpty())
        return {};
    ImportJournal journal;
    bool ok = false;
    journal.length = lines[1].mid(10).toLongLong(&ok);
    journal.tail = QByteArray::fromHex(lines[2].mid(5));
    if (!ok || journal.length < 0 || journal.tail.size() != journal.length - wholeEnd(journal.length))
        return {};
    return journal;
}

QString importJournalPath(const QString& archivePath)
{
    return archivePath + QStringLiteral(".importazione");
}

ArchiveImport::ArchiveImport(const QString& archivePath, ChangeSteps* steps)
    : journal_(importJournalPath(archivePath)), folder_(QFileInfo(archivePath).absolutePath()), steps_(steps)
{}

ArchiveImport::~ArchiveImport()
{
    if (begun_ && !done_)
        undo();
}

void ArchiveImport::begin()
{
    ImportJournal journal;
    journal.length = archive_.byteLength();
    const std::int64_t end = wholeEnd(journal.length);
    journal.tail.resize(qsizetype(journal.length - end));
    if (!journal.tail.isEmpty() && ::pread(archive_.nativeHandle(), journal.tail.data(),
                                           std::size_t(journal.tail.size()), end) != journal.tail.size())
        fail("read archive tail");
    begun_ = true;
    try {
        writeWholeJournal(journal_, serializeImportJournal(journal), true);
        syncFolder(folder_);
    } catch (const ArchiveError&) {
        begun_ = false;
        ::unlink(native(journal_).constData());
        throw;
    }
    reachStep(steps_, "giornale scritto");
}

void ArchiveImport::append(const GameRecord* records, std::size_t count)
{
    if (!begun_)
        throw ArchiveError("append before the import's journal");
    archive_.Append(records, count);
    reachStep(steps_, "blocco aggiunto");
}

void ArchiveImport::commit()
{
    archive_.Sync();
    reachStep(steps_, "schede sul disco");
    removeFile(journal_);
    syncFolder(folder_);
    done_ = true;
    reachStep(steps_, "giornale rimosso");
    archive_.Close();
}

bool ArchiveImport::undo() noexcept
{
    if (!begun_ || done_)
        return true;
    try {
        reachStep(steps_, "annullamento");
    } catch (const ArchiveError&) {
        return false;
    }
    if (!archive_.UndoAppends())
        return false;
    try {
        removeFile(journal_);
        syncFolder(folder_);
    } catch (const ArchiveError&) {
        return false; // the next opening finds the journal and the archive as it was: nothing to undo
    }
    done_ = true;
    return true;
}

void recoverImport(ArchiveFile& archive, ChangeSteps* steps)
{
    const QString journalPath = importJournalPath(archive.path());
    QFile file(journalPath);
    if (!file.open(QIODevice::ReadOnly))
        fail("read import journal");
    const auto journal = parseImportJournal(file.readAll());
    file.close();
    reachStep(steps, "ripresa");
    if (journal) {
        // The bytes the first append wrote over go back, and the archive is cut back to its old
        // length; never lengthened (an archive shorter than that has nothing appended to undo).
        const int fd = archive.nativeHandle();
        const std::int64_t end = wholeEnd(journal->length);
        if (archive.byteLength() > end) {
            const std::int64_t length = std::min(journal->length, archive.byteLength());
            if ((!journal->tail.isEmpty() &&
                 ::pwrite(fd, journal->tail.constData(), std::size_t(length - end), end) != length - end) ||
                ::ftruncate(fd, length) != 0 || ::fdatasync(fd) != 0)
                fail("undo import");
        }
    }
    reachStep(steps, "archivio ripristinato");
    removeFile(journalPath);
    syncFolder(QFileInfo(journalPath).absolutePath());
}

} // namespace brivanto
