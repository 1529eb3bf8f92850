#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kalvian::paradox {

// The records a table's reading kept: back to back in the order they lie in the file, with the order the
// block chain gives those of the chain (records of free blocks are among the bytes but never in it).
struct RecordSet {
    std::size_t recordSize = 0;
    std::vector<std::byte> bytes;
    std::vector<std::uint32_t> chainOrder; // indexes of records in bytes

    std::span<const std::byte> record(std::uint32_t index) const {
        return std::span<const std::byte>(bytes).subspan(index * recordSize, recordSize);
    }

    // Puts the records of the chain back to back in its order and drops the others, so a walk along the
    // chain reads memory in order. When the chain runs in file order already, everything stays as it is.
    void lineUpAlongChain();
};

} // namespace kalvian::paradox
