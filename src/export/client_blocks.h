#pragma once

#include "common/source_record.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace kalvian {

// The 226-byte client blocks of the E and R lines. Within one export the clients do not change, so the
// block of a found client is built once per code and kept, up to a memory budget; a budget of 0 keeps none.
class ClientBlocks {
public:
    static constexpr std::size_t kDefaultBudget = 8u << 20;

    explicit ClientBlocks(ClientLookup& clients, std::size_t budget = kDefaultBudget)
        : m_clients(clients), m_budget(budget) {}

    // Appends the block of the client with that code; when none has it, zeros and blanks with the
    // placeholder and the code in the name field (left blank for codes below 1).
    void append(std::string& line, std::int32_t code, const char* placeholder);

private:
    ClientLookup& m_clients;
    std::size_t m_budget;
    std::unordered_map<std::int32_t, std::string> m_kept;
};

} // namespace kalvian
