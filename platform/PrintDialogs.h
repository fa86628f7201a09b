#pragma once

#include "platform/Seam.h"

class QPrinter;
class QWidget;

namespace brivanto::platform {

// The print dialogue: printer, pages and copies, with the system's default printer preselected.
// It sets `printer` up for the job; false when the user cancels.
class PrintDialogs
{
public:
    virtual ~PrintDialogs() = default;
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer, int pageCount) = 0;
    static PrintDialogs& real();
};

using Printing = Seam<PrintDialogs>;

} // namespace brivanto::platform
