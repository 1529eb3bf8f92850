#pragma once

#include <cstddef>
#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace kalvian::paradox {

// Asks the system to back the whole 2 MB pages of a large buffer, not yet written to, with huge pages. A
// query keeps tens of megabytes of rows, and with 4 KB pages their first writes cost a page fault every
// 4 KB: a good share of a query's time. Where the system has no such pages, or will not give them, nothing
// changes.
inline void adviseHugePages(void* data, std::size_t size) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kHugePage - 1) / kHugePage * kHugePage;
    const std::uintptr_t last = (start + size) / kHugePage * kHugePage;
    if (last > first) {
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#else
    (void)data;
    (void)size;
#endif
}

} // namespace kalvian::paradox
