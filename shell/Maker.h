#pragma once

#include <QString>

namespace brivanto {

// Where the program's links lead: the maker's web site and mail address.
inline QString makerWebSite()
{
    return QStringLiteral("https://www.brivanto.example/");
}
inline QString makerEmail()
{
    return QStringLiteral("info@brivanto.example");
}

} // namespace brivanto
