#pragma once

#include <QString>

#include <stdexcept>

namespace brivanto::report {

// Every failure of the report engine reaches its caller as this error, with an Italian
// description fit for the general error report.
class ReportError : public std::runtime_error
{
public:
    explicit ReportError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description)
    {
    }
    const QString& description() const { return description_; }

private:
    QString description_;
};

} // namespace brivanto::report
