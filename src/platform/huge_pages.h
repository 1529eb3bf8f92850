#pragma once

#include <cstddef>

namespace kalvian {

// Asks the system to back the whole 2 MB pages of a large buffer, not yet written to, with huge pages. A
// query keeps tens of megabytes of rows, and with 4 KB pages their first writes cost a page fault every
// 4 KB: a good share of a query's time. Where the system has no such pages, or will not give them, nothing
// changes.
void adviseHugePages(void* data, std::size_t size);

} // namespace kalvian
