#include "platform/Formats.h"

#include <QLocale>

namespace brivanto::platform {

void setProcessFormats()
{
    QLocale locale(QLocale::Italian, QLocale::Italy);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(locale);
}

QString shortDate(const QDate& date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QChar decimalSeparator()
{
    return QLatin1Char(',');
}

} // namespace brivanto::platform
