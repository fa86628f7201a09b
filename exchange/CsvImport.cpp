#include "exchange/CsvImport.h"

#include "exchange/BackgroundWriter.h"
#include "storage/ArchiveFile.h"

#include <QFile>

#include <string>

namespace brivanto {
namespace {

constexpr std::size_t RecordsPerWrite = 1024; // 3.4 MB

QString unreadableFileText()
{
    return QStringLiteral("Il file non si pu\u00F2 leggere.");
}

} // namespace

ArchiveIds readArchiveIds(ArchiveFile& archive)
{
    ArchiveIds ids;
    archive.Seek(0);
    while (!archive.AtEnd()) {
        QByteArray id = archiveIdOf(archive.ReadInPlace());
        if (!id.isEmpty())
            ++ids[id];
    }
    return ids;
}

ImportPlan planCsvImport(QIODevice& device, const ArchiveIds& ids)
{
    ImportRun run(device, ids);
    if (run.start()) {
        GameRecord record;
        while (run.next(record)) {
        }
    }
    return run.plan();
}

ImportPlan planCsvImportFile(const QString& csvPath, const QString& archivePath)
{
    ArchiveIds ids;
    try {
        ArchiveFile archive;
        archive.Open(archivePath, ArchiveFile::Access::Read);
        ids = readArchiveIds(archive);
        archive.Close();
    } catch (const ArchiveError&) {
        ImportPlan plan;
        plan.error = archiveAccessErrorText();
        return plan;
    }
    QFile file(csvPath);
    if (!file.open(QIODevice::ReadOnly)) {
        ImportPlan plan;
        plan.error = unreadableFileText();
        return plan;
    }
    return planCsvImport(file, ids);
}

ImportOutcome importCsvFile(const QString& csvPath, const QString& archivePath)
{
    ImportOutcome outcome;
    QFile file(csvPath);
    if (!file.open(QIODevice::ReadOnly)) {
        outcome.failure = ImportOutcome::Failure::File;
        outcome.message = unreadableFileText();
        return outcome;
    }
    ArchiveFile archive;
    try {
        archive.Open(archivePath, ArchiveFile::Access::Write);
        ImportRun run(file, readArchiveIds(archive));
        const int before = archive.RecordCount();
        // The records are made in one block while the block before is appended. The archive is
        // the writer's alone until finish(); its failure is kept to be told here.
        std::string appendFailure;
        BackgroundWriter appender([&archive, &appendFailure](std::string_view block) {
            try {
                archive.Append(reinterpret_cast<const GameRecord*>(block.data()), block.size() / RecordSize);
                return true;
            } catch (const ArchiveError& error) {
                appendFailure = error.what();
                return false;
            }
        });
        std::string block(RecordsPerWrite * RecordSize, '\0');
        std::size_t held = 0;
        bool more = run.start();
        bool appended = true;
        while (more && appended) {
            more = run.next(*reinterpret_cast<GameRecord*>(block.data() + held * RecordSize));
            if (more)
                ++held;
            if (held == RecordsPerWrite || (!more && held > 0)) {
                appended = appender.hand(block, held * RecordSize);
                block.resize(RecordsPerWrite * RecordSize);
                held = 0;
            }
        }
        appended = appender.finish() && appended;
        if (!appended)
            throw ArchiveError(appendFailure);
        outcome.plan = run.plan();
        if (!run.plan().ok()) {
            archive.UndoAppends();
            outcome.failure = ImportOutcome::Failure::File;
            outcome.message = run.plan().error;
            return outcome;
        }
        archive.Sync();
        outcome.imported = archive.RecordCount() - before;
        outcome.firstPosition = outcome.imported > 0 ? before + 1 : 0;
        archive.Close();
    } catch (const ArchiveError&) {
        archive.UndoAppends();
        outcome.failure = ImportOutcome::Failure::Archive;
        outcome.message = archiveAccessErrorText();
        outcome.imported = 0;
        outcome.firstPosition = 0;
    }
    return outcome;
}

} // namespace brivanto
