#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace brivanto {

// What every screen does when it is created: its class name as object name, its caption, and
// the process-wide formats.
void prepareScreen(QWidget* screen, const QString& className, const QString& caption);

// A fixed-size window without window buttons, centred on the screen.
void makeFixedDialogWindow(QWidget* screen, int clientWidth, int clientHeight);
void centreOnScreen(QWidget* window);

// The main work screens are maximised windows whose controls sit on a fixed panel kept in the
// middle of the window, on the program's background colour.
QWidget* addCentredPanel(QWidget* screen, int width, int height);

// A label that holds state the user never sees (a path, a caller tag).
QLabel* hiddenLabel(const QString& name, QWidget* parent);

} // namespace brivanto
