#include "shell/FontSetup.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace brivanto {

FontSetup::FontSetup()
{
    try {
        reading_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread: the toolkit reads the configuration itself, as it always can.
    }
}

FontSetup::~FontSetup()
{
    if (reading_.joinable())
        reading_.join();
}

} // namespace brivanto
