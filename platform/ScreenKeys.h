#pragma once

#include <functional>

class QKeyEvent;
class QWidget;

namespace brivanto::platform {

// What a screen does for the keys that act alike on every screen of the program.
struct ScreenKeys
{
    // Escape: what the screen's "Annulla", "Chiudi" or exit button does. Without it Escape
    // keeps the window's own meaning (a dialog rejects, a main screen ignores it).
    std::function<void()> escape = {};
    // F1: what the screen's help button does.
    std::function<void()> help = {};
};

// Gives `screen` the program's keyboard rules, once its controls are built:
// - Enter and Return press the button that has the focus, and nothing else: no push button of
//   the screen is ever its default button, so Enter in a field, a list or on a check box that
//   does not use the key presses no button behind the user's back. A control that uses Enter
//   itself (a field that moves the focus on, a list, a cell being edited) keeps it.
// - Escape and F1 as `keys` says. A popup or a cell being edited keeps its own Escape.
void applyScreenKeys(QWidget* screen, ScreenKeys keys = {});

// Enter or Return, from either part of the keyboard, with no other modifier.
bool isPlainEnter(const QKeyEvent* event);

} // namespace brivanto::platform
