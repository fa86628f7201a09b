#include "exchange/CsvImport.h"

#include "storage/BackgroundWriter.h"
#include "storage/ArchiveFile.h"
#include "storage/GameArchive.h"

#include <QFile>

#include <memory>
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
        GameArchive::openForReading(archive, archivePath);
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

QString importNotUndoneText()
{
    return QStringLiteral(
        "Attenzione: l'importazione non \u00E8 riuscita e non \u00E8 stato possibile togliere "
        "dall'archivio le schede gi\u00E0 aggiunte.\r\n\r\nAlla prossima apertura l'archivio sar\u00E0 "
        "riportato com'era prima dell'importazione.");
}

ImportOutcome importCsvFile(const QString& csvPath, const QString& archivePath)
{
    return importCsvFile(csvPath, GameArchive(archivePath));
}

ImportOutcome importCsvFile(const QString& csvPath, const GameArchive& target)
{
    ImportOutcome outcome;
    QFile file(csvPath);
    if (!file.open(QIODevice::ReadOnly)) {
        outcome.failure = ImportOutcome::Failure::File;
        outcome.message = unreadableFileText();
        return outcome;
    }
    std::unique_ptr<ArchiveImport> import;
    const auto failed = [&outcome, &import](ImportOutcome::Failure failure, const QString& message) {
        const bool undone = !import || import->undo();
        outcome.failure = undone ? failure : ImportOutcome::Failure::Archive;
        outcome.message = undone ? message : importNotUndoneText();
        outcome.imported = 0;
        outcome.firstPosition = 0;
        return outcome;
    };
    try {
        import = target.beginImport();
        ArchiveFile& archive = import->archive();
        ImportRun run(file, readArchiveIds(archive));
        const int before = archive.RecordCount();
        import->begin();
        // The records are made in one block while the block before is appended. The archive is
        // the writer's alone until finish(); its failure is kept to be told here.
        std::string appendFailure;
        BackgroundWriter appender([&import, &appendFailure](std::string_view block) {
            try {
                import->append(reinterpret_cast<const GameRecord*>(block.data()), block.size() / RecordSize);
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
        if (!run.plan().ok())
            return failed(ImportOutcome::Failure::File, run.plan().error);
        const int after = archive.RecordCount();
        import->commit();
        outcome.imported = after - before;
        outcome.firstPosition = outcome.imported > 0 ? before + 1 : 0;
    } catch (const ArchiveReadOnlyError&) {
        return failed(ImportOutcome::Failure::ReadOnly, archiveReadOnlyText());
    } catch (const ArchiveError&) {
        return failed(ImportOutcome::Failure::Archive, archiveAccessErrorText());
    }
    return outcome;
}

} // namespace brivanto
