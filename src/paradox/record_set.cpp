#include "paradox/record_set.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace kalvian::paradox {

// In place, so no second copy of the rows is ever held: position i takes the record chainOrder[i] names. The
// moves form chains and cycles of positions; a chain starts at a position whose record nobody takes (a
// record of a free block, or one beyond the last position) and is moved in order, a cycle goes round once
// with its first record held aside.
void RecordSet::lineUpAlongChain() {
    if (std::is_sorted(chainOrder.begin(), chainOrder.end())) {
        return;
    }
    const std::size_t count = chainOrder.size();
    constexpr std::uint32_t kNobody = UINT32_MAX;
    std::vector<std::uint32_t> takenBy(bytes.size() / recordSize, kNobody);
    for (std::size_t i = 0; i < count; ++i) {
        takenBy[chainOrder[i]] = static_cast<std::uint32_t>(i);
    }
    std::vector<bool> placed(count, false);
    const auto at = [&](std::size_t index) { return bytes.data() + index * recordSize; };
    // Moves records along from `start` until the chain leaves the positions or the cycle comes back.
    const auto moveAlong = [&](std::size_t start) {
        for (std::size_t to = start; !placed[to];) {
            placed[to] = true;
            const std::size_t from = chainOrder[to];
            if (from == start) {
                return;
            }
            std::memcpy(at(to), at(from), recordSize);
            if (from >= count) {
                return;
            }
            to = from;
        }
    };
    for (std::size_t i = 0; i < count; ++i) {
        if (!placed[i] && takenBy[i] == kNobody) {
            moveAlong(i);
        }
    }
    std::vector<std::byte> held(recordSize);
    for (std::size_t i = 0; i < count; ++i) {
        if (!placed[i]) {
            // Every position left lies on a cycle: its own record is held aside for the one that takes it.
            std::memcpy(held.data(), at(i), recordSize);
            moveAlong(i);
            std::memcpy(at(takenBy[i]), held.data(), recordSize);
        }
    }
    bytes.resize(count * recordSize);
    std::iota(chainOrder.begin(), chainOrder.end(), std::uint32_t{0});
}

} // namespace kalvian::paradox
