#pragma once

#include "report/Report.h"

namespace brivanto {

// The one-page A4 card of a game record, "Scheda Gioco da Tavolo": the archive's name, the game's
// name in a royal-blue bar, the first photo and twenty captioned value boxes.
report::Report makeCardReport();

// The A4 landscape list summary, "Riepilogo dati": a title bar, the list lines in a fixed-pitch
// font split over as many pages as they need, and a closing bar right after the last line.
report::Report makeSummaryReport();

// One line of the summary's list, in 1/96 inch.
inline constexpr double SummaryLineHeight = 12.822;

} // namespace brivanto
