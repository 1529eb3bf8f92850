#include "paradox/record_set.h"

#include "platform/huge_pages.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace kalvian::paradox {

void RecordSet::lineUpAlongChain() {
    if (std::is_sorted(chainOrder.begin(), chainOrder.end())) {
        return;
    }
    std::vector<std::byte> lined;
    lined.reserve(chainOrder.size() * recordSize);
    adviseHugePages(lined.data(), chainOrder.size() * recordSize);
    lined.resize(chainOrder.size() * recordSize);
    for (std::size_t i = 0; i < chainOrder.size(); ++i) {
        std::memcpy(lined.data() + i * recordSize, bytes.data() + chainOrder[i] * recordSize, recordSize);
    }
    bytes = std::move(lined);
    std::iota(chainOrder.begin(), chainOrder.end(), std::uint32_t{0});
}

} // namespace kalvian::paradox
