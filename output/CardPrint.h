#pragma once

#include "report/Report.h"

#include <QImage>

namespace brivanto {

class RecordEditorAccess;

// Fills the card from what the editor shows now, saved or not: the picture, the game's name, the
// archive's name, then the twenty value objects in their fixed order, each trimmed.
void fillCard(report::Report& card, const RecordEditorAccess& editor, const QImage& picture);

} // namespace brivanto
