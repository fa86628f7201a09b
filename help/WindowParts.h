#pragma once

#include <QString>

class QDialog;
class QPushButton;
class QWidget;

namespace brivanto {

namespace platform {
class PictureBox;
}

// A logo strip shown in a white frame (`panLogo`) whose top left corner is at (x, y) of
// `window`, with `border` pixels of white around the picture.
platform::PictureBox* addFramedLogo(QWidget* window, const QString& resource, int x, int y, int border);

// The "Chiudi" button that closes `window`, as Escape does: these windows have no window buttons.
QPushButton* addCloseButton(QDialog* window);

} // namespace brivanto
