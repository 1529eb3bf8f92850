#include "platform/huge_pages.h"

namespace kalvian {

// Large pages on Windows need a privilege that ordinary users lack: the buffer keeps its small pages.
void adviseHugePages(void*, std::size_t) {}

} // namespace kalvian
