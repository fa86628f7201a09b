#pragma once

#include "report/Report.h"

#include <QString>

class QWidget;

namespace brivanto {

class ListLines;

// The titles of the two lists that print a summary.
inline const QString SummaryTitleArchive = QStringLiteral("Riepilogo giochi da tavolo in archivio");
inline const QString SummaryTitleForSale = QStringLiteral("Riepilogo giochi da tavolo in vendita");
// What the general error report says when a list is too long for the memory left to print it.
inline const QString SummaryOutOfMemory =
    QStringLiteral("Errore di stampa: memoria insufficiente per preparare il riepilogo.");

// Fills the summary with `title`, the moment of printing from the program's clock and every
// list line in list order, and sets the data band's height for them.
void fillSummary(report::Report& summary, const QString& title, const ListLines& lines);

// Fills, prepares and prints: the print dialogue first. False when the user cancels; a
// ReportError when the report engine fails.
bool printSummary(report::Report& summary, const QString& title, const ListLines& lines, QWidget* parent);

} // namespace brivanto
