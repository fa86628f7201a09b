#pragma once

class QApplication;
class QPalette;
class QStyle;

namespace brivanto::platform {

// The program's one look for everything the toolkit draws (message boxes, file dialogs, push
// buttons, lists): the Fusion style in the program's colours, with plain text buttons in dialogs.
void applyApplicationStyle(QApplication& application);
QPalette applicationPalette();
// The program's style drawn by `base` (which it takes over), Fusion when none is given.
QStyle* createApplicationStyle(QStyle* base = nullptr);

} // namespace brivanto::platform
