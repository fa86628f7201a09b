#pragma once

#include <QString>

namespace brivanto {

// Asks the desktop to open a document, web address or "mailto:" address with its default
// application. Paths and mail addresses come in double quotes. The result is not examined and
// nothing is reported: the calling screen stays as it was whatever happens.
class TMisc
{
public:
    static void Open(const QString& sCommand);
};

} // namespace brivanto
