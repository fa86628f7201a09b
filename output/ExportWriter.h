#pragma once

#include <QString>

class QIODevice;

namespace brivanto {

class ExportGridModel;

// ProgramFolder() + "Zendaro.xls": the worksheet every export replaces.
QString exportFilePath();

// The worksheet of the grid's rows: an HTML document with the spreadsheet markup, in
// Windows-1252, on one line. The heading row comes first, then one row per grid row with the
// columns 1 to 22 (never the position). In the data cells '&', '<' and '>' are written as
// character references, so every value reaches the spreadsheet as typed. False when a write
// fails.
bool writeExport(QIODevice& device, const ExportGridModel& grid);

// The same document into `path`, written beside the previous file and put in its place only when
// complete: on any failure (the file is read-only or a folder, the disk fills) the previous file
// stays as it was and false comes back.
bool writeExportFile(const QString& path, const ExportGridModel& grid);

} // namespace brivanto
