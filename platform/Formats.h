#pragma once

#include <QDate>
#include <QString>
#include <QTime>

namespace brivanto::platform {

// The process-wide formats every screen sets when it is created: the decimal comma, through the
// default locale that number conversions use.
void setProcessFormats();
QChar decimalSeparator();

// Every date the program writes: "dd/mm/yyyy", four-digit year. The Italian locale's own short
// format has a two-digit year, so dates never go through QLocale's date formats.
QString shortDate(const QDate& date);
// Every time the program writes: "hh:mm:ss", hours 00 to 23, no time zone (the Italian locale's
// long time format adds one).
QString longTime(const QTime& time);

} // namespace brivanto::platform
