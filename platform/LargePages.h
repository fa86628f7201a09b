#pragma once

#include <cstddef>

namespace brivanto::platform {

// Asks the system to back a large block of memory with large pages where it can, so that filling
// it costs one page fault per 2 MB instead of one per 4 KB (page faults are dear on small virtual
// machines). Only the whole pages inside the block are concerned; a system that does not offer
// large pages, or a block too small for one, is left as it is.
void preferLargePages(void* block, std::size_t bytes);

} // namespace brivanto::platform
