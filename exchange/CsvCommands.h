#pragma once

#include <QString>

class QWidget;

namespace brivanto {

class RecordEditorAccess;

// "Esporta in CSV...": asks where to write the open archive as CSV (the save dialog starts at
// <archive name>.csv in the documents folder), writes it under the wait cursor and says how it
// went.
void exportCsvChosenByUser(QWidget* parent, const QString& archivePath, const QString& archiveName);

// "Importa" on the editor: offers to save the record on screen, asks for the file, shows what the
// import will do and, when the user goes on, imports it and shows the first imported game.
void importCsvIntoEditor(RecordEditorAccess& editor);

} // namespace brivanto
