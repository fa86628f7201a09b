#include "exchange/CsvCommands.h"

#include "editor/RecordEditorAccess.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "exchange/ImportSummaryDialog.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "search/WaitCursor.h"
#include "storage/ArchiveFile.h"
#include "storage/GameArchive.h"

#include <QDialog>
#include <QDir>
#include <QPointer>

namespace brivanto {

namespace {
const QString CsvFilter = QStringLiteral("File CSV (*.csv)");
} // namespace

void exportCsvChosenByUser(QWidget* parent, const QString& archivePath, const QString& archiveName)
{
    const QString path = platform::Dialogs::current().saveFile(
        parent, {.title = QStringLiteral("Esporta l'archivio in un file CSV"),
                 .filters = {CsvFilter},
                 .initialName = defaultCsvExportPath(archiveName),
                 .defaultExtension = QStringLiteral("csv"),
                 .askBeforeReplacing = true});
    if (path.isEmpty())
        return;
    CsvExportStatus status;
    {
        WaitCursor wait;
        status = exportArchiveCsv(archivePath, path);
    }
    switch (status) {
    case CsvExportStatus::Written:
        platform::information(parent,
                              QStringLiteral("Le schede in archivio sono state esportate nel file CSV:\n\n") +
                                  QDir::toNativeSeparators(path));
        return;
    case CsvExportStatus::ArchiveUnreadable:
        platform::error(parent, archiveAccessErrorText());
        return;
    case CsvExportStatus::FileNotWritten:
        platform::warning(parent, QStringLiteral("Attenzione: il file CSV non \u00E8 stato scritto.\n\n") +
                                      QDir::toNativeSeparators(path) +
                                      QStringLiteral("\n\nAccertarsi che la cartella esista, che vi si possa "
                                                     "scrivere e che il disco non sia pieno."));
        return;
    }
}

namespace {
// Puts the record at `position` on the editor, with its photos.
void showImportedRecord(RecordEditorAccess& editor, int position)
{
    try {
        ArchiveFile archive;
        GameArchive::openForReading(archive, editor.archiveFile());
        archive.Seek(position - 1);
        GameRecord record{};
        archive.Read(record);
        archive.Close();
        editor.ShowRecord(record, position);
    } catch (const ArchiveError&) {
        platform::error(editor.owner(), archiveAccessErrorText());
    }
}
} // namespace

void importCsvIntoEditor(RecordEditorAccess& editor)
{
    QWidget* parent = editor.owner();
    if (!GameArchive(editor.archiveFile()).writable()) {
        platform::warning(parent, archiveReadOnlyText());
        return;
    }
    if (!editor.offerToSaveChanges())
        return;
    const QString path = platform::Dialogs::current().openFile(
        parent, {.title = QStringLiteral("Importa giochi da un file CSV"),
                 .filters = {CsvFilter, QStringLiteral("Tutti i file (*.*)")},
                 .initialName = {},
                 .defaultExtension = {},
                 .askBeforeReplacing = false});
    if (path.isEmpty())
        return;
    ImportPlan plan;
    {
        WaitCursor wait;
        plan = planCsvImportFile(path, editor.archiveFile());
    }
    if (!plan.ok()) {
        platform::warning(parent, plan.error);
        return;
    }
    QPointer<ImportSummaryDialog> summary = new ImportSummaryDialog(plan, path, parent);
    const bool accepted = summary->exec() == QDialog::Accepted;
    delete summary.data();
    if (!accepted)
        return;
    ImportOutcome outcome;
    {
        WaitCursor wait;
        outcome = importCsvFile(path, editor.archiveFile());
    }
    if (outcome.failure != ImportOutcome::Failure::None) {
        (outcome.failure == ImportOutcome::Failure::Archive ? platform::error
                                                            : platform::warning)(parent, outcome.message);
        return;
    }
    if (outcome.firstPosition > 0)
        showImportedRecord(editor, outcome.firstPosition);
}

} // namespace brivanto
