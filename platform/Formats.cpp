#include "platform/Formats.h"

#include <QLocale>

namespace brivanto::platform {

void setProcessFormats()
{
    QLocale locale(QLocale::Italian, QLocale::Italy);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(locale);
}

QChar decimalSeparator()
{
    return QLatin1Char(',');
}

QString shortDate(const QDate& date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString longTime(const QTime& time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

} // namespace brivanto::platform
