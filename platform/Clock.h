#pragma once

#include "platform/Seam.h"

#include <QDateTime>

namespace brivanto::platform {

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    static Clock& real();
};

using Clocks = Seam<Clock>;

} // namespace brivanto::platform
