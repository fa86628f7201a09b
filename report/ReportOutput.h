#pragma once

#include "report/Report.h"

class QWidget;

namespace brivanto::report {

// Prints the prepared report: the print dialogue first, the system's default printer
// preselected, the job titled with the report's name. False when the user cancels the dialogue
// or stops the job, which is not a failure; a ReportError when printing fails.
bool print(const Report& report, QWidget* parent);

// Shows the prepared report in a modal preview window and returns when the user closes it. A
// failure of a print started from the preview reaches the caller as a ReportError.
void preview(const Report& report, QWidget* parent);

} // namespace brivanto::report
