#pragma once

#include "common/source_record.h"
#include "export_format/client_block_layout.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kalvian {

// The 226-byte client blocks of the E and R lines. Within one export the clients do not change, so the
// block of a found client is built once per code and kept, up to a memory budget; a budget of 0 keeps none.
class ClientBlocks {
public:
    static constexpr std::size_t kDefaultBudget = 8u << 20;

    explicit ClientBlocks(ClientLookup& clients, std::size_t budget = kDefaultBudget)
        : m_clients(clients), m_most(budget / kEntryCost) {}

    // Appends the block of the client with that code; when none has it, zeros and blanks with the
    // placeholder and the code in the name field (left blank for codes below 1).
    void append(std::string& line, std::int32_t code, std::string_view placeholder);
    // Says that the block of that code is appended soon: what it is built from starts coming meanwhile.
    void prefetch(std::int32_t code);

private:
    // The kept block of that code, or nothing.
    const char* kept(std::int32_t code) const;
    void keep(std::int32_t code, std::string_view block);

    // An entry costs its block and its slots, counted roughly as the block again.
    static constexpr std::size_t kEntryCost = 2 * kClientBlockWidth;

    ClientLookup& m_clients;
    // The blocks the budget allows.
    std::size_t m_most;
    // Kept blocks back to back, found through an open-addressing table of (code, block number + 1) pairs:
    // one probe mostly, and no allocation per block.
    std::string m_blocks;
    std::vector<std::uint64_t> m_slots;
};

} // namespace kalvian
