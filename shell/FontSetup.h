#pragma once

#include <thread>

namespace brivanto {

// Reads the system's font configuration on a thread of its own, while the application connects
// to the display. Reading it takes several milliseconds, which the toolkit would otherwise spend
// when the first window lays out its first text, on the way to the first window being drawn.
// wait() must come before the first font is used: the toolkit then finds the configuration read
// (it would read it a second time if both read at once).
class FontSetup
{
public:
    FontSetup();
    ~FontSetup() { wait(); }
    FontSetup(const FontSetup&) = delete;
    FontSetup& operator=(const FontSetup&) = delete;

    void wait();

private:
    std::thread reading_;
};

} // namespace brivanto
