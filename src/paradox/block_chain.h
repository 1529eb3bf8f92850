#pragma once

#include "paradox/table_header.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kalvian::paradox {

// The head of a data block as the file holds it: the next block of the chain and the offset of the
// block's last record.
struct BlockHead {
    bool present = false; // false when the file ends before the head does
    int next = 0;         // 0 at the end of the chain
    int lastOffset = -1;  // negative in an empty block
    std::size_t room = 0; // whole records the file holds after the head (fewer in a block cut by its end)

    static BlockHead of(std::span<const std::byte> block, std::size_t recordSize);
    // The records the block holds, when its head is well formed.
    std::optional<std::size_t> records(std::size_t recordSize, std::size_t capacity) const;
};

// The checks of a walk along the data-block chain, whichever way the blocks are read: a block outside
// the file, a chain that loops, a malformed head, and blocks that hold another number of records than the
// header declares. Each raises kalvian::Error with the damaged table's message.
class ChainCheck {
public:
    ChainCheck(const std::string& name, const TableHeader& header);

    // Before block `number` is read: it lies in the file and the chain has not been there.
    void reach(int number);
    // How many records the block reached holds.
    std::size_t records(int number, const BlockHead& head);
    // After the last block.
    void end() const;

private:
    const std::string& m_name;
    const TableHeader& m_header;
    std::size_t m_recordSize;
    std::size_t m_capacity;
    std::vector<bool> m_visited;
    std::uint64_t m_records = 0;
};

} // namespace kalvian::paradox
