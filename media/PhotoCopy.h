#pragma once

#include "editor/PhotoFile.h"

class QWidget;

namespace brivanto {

// "Salva foto su disco" of the editor's photo slots and of the capture screen: the JPEG save
// dialog `dlgSalvaFile`, then the picture written to the chosen file (".jpg" added to a name
// without extension). A copy that cannot be written leaves the picture where it was, since it
// may be the only one, and says so in a warning. True when a copy was written.
bool savePhotoCopy(QWidget* parent, const Photo& photo);

} // namespace brivanto
