#pragma once

#include <QString>

class QWidget;

namespace brivanto {

// Asks the desktop to open a document, web address or "mailto:" address with its default
// application. Paths and mail addresses come in double quotes. The call does not wait for the
// application. When the document is not on disk, or the desktop refuses it (for instance because
// no application opens it), a warning naming the file is shown over `parent`; web and mail
// addresses stay silent. Either way the calling screen stays as it was.
void openWithDesktop(const QString& target, QWidget* parent = nullptr);

} // namespace brivanto
