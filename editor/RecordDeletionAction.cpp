// The record editor's deletion of the record on screen, and what a save does when another
// workstation changed or moved the record since it was shown.
#include "editor/EditorFields.h"
#include "editor/RecordEditor.h"
#include "platform/MessageBoxes.h"
#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"
#include "storage/GameArchive.h"

#include <QLabel>

#include <algorithm>

namespace brivanto {
namespace {
QString deletionQuestion(int position, const QString& name)
{
    return QStringLiteral(
               "Si sta per eliminare dall'archivio la scheda n. %1 \"%2\". Le due foto della scheda "
               "saranno spostate nel cestino del computer.\r\n\r\nSi conferma l'eliminazione della "
               "scheda?")
        .arg(position)
        .arg(name);
}

const QString NothingToDelete =
    QStringLiteral("La schermata contiene una nuova scheda, non ancora salvata in archivio: non c'\u00E8 "
                   "nessuna scheda da eliminare.");
const QString Deleted = QStringLiteral("La scheda \u00E8 stata eliminata dall'archivio.");
// Committed, with photos still to move: the journal stays and the next opening finishes the work.
const QString DeletedUnfinished = QStringLiteral(
    "La scheda \u00E8 stata eliminata dall'archivio, ma non \u00E8 stato possibile completare lo "
    "spostamento delle foto delle schede successive.\r\n\r\nIl programma lo completer\u00E0 alla "
    "prossima apertura dell'archivio: fino ad allora alcune schede potrebbero mostrare le foto di "
    "un'altra scheda. Accertarsi di possedere i privilegi di scrittura nella cartella Foto_Gioco del "
    "programma.");
const QString PhotosKept =
    QStringLiteral("\r\n\r\nNon \u00E8 stato possibile spostare le sue foto nel cestino del computer: sono "
                   "state conservate nella cartella Foto_Gioco/Eliminate del programma.");
const QString RecordMoved =
    QStringLiteral("Attenzione: la scheda \u00E8 stata modificata o spostata da un'altra postazione dopo che "
                   "\u00E8 stata visualizzata. Nessuna scheda \u00E8 stata eliminata.\r\n\r\nVisualizzare di "
                   "nuovo la scheda e, se necessario, ripetere l'eliminazione.");
const QString NotWholeRecords =
    QStringLiteral("Attenzione: la lunghezza dell'archivio non corrisponde a un numero intero di schede, "
                   "quindi l'archivio potrebbe essere danneggiato. Nessuna scheda \u00E8 stata eliminata.");

QString staleSaveQuestion(int position)
{
    return QStringLiteral(
               "La scheda \u00E8 stata modificata o spostata da un'altra postazione dopo che \u00E8 "
               "stata visualizzata. Per non cancellare il lavoro dell'altra postazione, la scheda in "
               "archivio non \u00E8 stata sovrascritta.\r\n\r\nSalvare la schermata come nuova scheda "
               "in fondo all'archivio?\r\n\r\nS\u00EC: la schermata viene salvata come nuova "
               "scheda.\r\nNo: la schermata viene abbandonata e si visualizza la scheda che ora "
               "occupa in archivio la posizione n. %1.\r\nAnnulla: si torna alla schermata senza "
               "salvare.")
        .arg(position);
}
} // namespace

void RecordEditor::cmdEliminaClick()
{
    bool isPosition = false;
    const int shown = position().toInt(&isPosition);
    if (!isPosition || shown < 1) {
        platform::information(this, NothingToDelete);
        return;
    }
    if (!gameArchive().writable()) {
        platform::warning(this, archiveReadOnlyText());
        return;
    }
    // The question names the game as the archive holds it, which is what leaves the archive.
    const QString name = trimmed(fieldToText(fieldAt(loaded_, Fields[0]), Fields[0].capacity));
    if (!platform::confirmDefaultNo(this, deletionQuestion(shown, name)))
        return;
    try {
        const DeletionResult result = gameArchive().deleteRecord(shown, recordView(loaded_));
        switch (result.outcome) {
        case DeletionOutcome::Deleted:
            try {
                showRecordAtOrBefore(shown);
            } catch (const ArchiveError&) {
                ClearRecordScreen(); // the game is gone all the same: never show it again
            }
            // Reading the archive again may already have finished what was left.
            if (result.unfinished && gameArchive().changeInterrupted())
                platform::warning(this, DeletedUnfinished);
            else
                platform::information(this, result.photosKept > 0 ? Deleted + PhotosKept : Deleted);
            return;
        case DeletionOutcome::RecordChanged:
            platform::warning(this, RecordMoved);
            return;
        case DeletionOutcome::NotWholeRecords:
            platform::warning(this, NotWholeRecords);
            return;
        }
    } catch (const ArchiveReadOnlyError&) {
        platform::warning(this, archiveReadOnlyText());
    } catch (const ArchiveError&) {
        platform::error(this, archiveAccessErrorText());
    }
}

void RecordEditor::showRecordAtOrBefore(int wanted)
{
    ArchiveFile archive;
    gameArchive().openForReading(archive);
    const int count = archive.RecordCount();
    if (count == 0) {
        archive.Close();
        ClearRecordScreen();
        return;
    }
    archive.Seek(std::clamp(wanted, 1, count) - 1);
    archive.Read(buffer_);
    const int shown = archive.Pointer();
    archive.Close();
    ShowRecord(buffer_, shown);
}

bool RecordEditor::resolveStaleSave(int stalePosition)
{
    switch (platform::askYesNoCancel(this, staleSaveQuestion(stalePosition))) {
    case platform::Answer::Yes:
        // A screen without a position is saved at the end of the archive.
        lblPosizione_->clear();
        return saveRecord();
    case platform::Answer::No:
        showRecordAtOrBefore(stalePosition);
        return false;
    default:
        return false;
    }
}

} // namespace brivanto
