#pragma once

#include <QDate>
#include <QString>

namespace brivanto::platform {

// The process-wide formats every screen sets when it is created: short dates "dd/mm/yyyy" and
// the decimal comma. Number and date conversions go through the default locale they install.
void setProcessFormats();
QString shortDate(const QDate& date);
QChar decimalSeparator();

} // namespace brivanto::platform
