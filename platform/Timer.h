#pragma once

#include "platform/Seam.h"

#include <QObject>

#include <memory>

namespace brivanto::platform {

// A repeating timer on the user-interface thread.
class RepeatingTimer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

Q_SIGNALS:
    void timeout();
};

class TimerFactory
{
public:
    virtual ~TimerFactory() = default;
    virtual std::unique_ptr<RepeatingTimer> create() = 0;
    static TimerFactory& real();
};

using Timers = Seam<TimerFactory>;

} // namespace brivanto::platform
