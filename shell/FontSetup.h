#pragma once

#include <thread>

namespace brivanto {

// Reads the system's font configuration on a thread of its own while the first window's controls
// are made. Reading it takes several milliseconds, which the toolkit would otherwise spend when
// the first window lays out its first text. Made after the application object: while that
// connects to the display, a second reader would only slow it down. Should the toolkit ask for the
// configuration before the thread is done, it reads it too, and one of the two readings is kept.
class FontSetup
{
public:
    FontSetup();
    ~FontSetup();
    FontSetup(const FontSetup&) = delete;
    FontSetup& operator=(const FontSetup&) = delete;

private:
    std::thread reading_;
};

} // namespace brivanto
