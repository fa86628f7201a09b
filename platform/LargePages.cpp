#include "platform/LargePages.h"

#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

namespace brivanto::platform {

void preferLargePages(void* block, std::size_t bytes)
{
#ifdef MADV_HUGEPAGE
    constexpr std::size_t LargePage = std::size_t(2) << 20;
    if (bytes < LargePage)
        return;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + page - 1) / page * page;
    const std::uintptr_t end = (start + bytes) / page * page;
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE); // only advice
#else
    static_cast<void>(block);
    static_cast<void>(bytes);
#endif
}

} // namespace brivanto::platform
