#include "platform/Clock.h"

namespace brivanto::platform {
namespace {
class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
} // namespace

Clock& Clock::real()
{
    static SystemClock clock;
    return clock;
}

} // namespace brivanto::platform
