#include "platform/Timer.h"

#include <QTimer>

namespace brivanto::platform {
namespace {

class QtRepeatingTimer final : public RepeatingTimer
{
public:
    QtRepeatingTimer() { connect(&timer_, &QTimer::timeout, this, &RepeatingTimer::timeout); }
    void start(int intervalMs) override { timer_.start(intervalMs); }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

class QtTimers final : public TimerFactory
{
public:
    std::unique_ptr<RepeatingTimer> create() override { return std::make_unique<QtRepeatingTimer>(); }
};

} // namespace

TimerFactory& TimerFactory::real()
{
    static QtTimers timers;
    return timers;
}

} // namespace brivanto::platform
