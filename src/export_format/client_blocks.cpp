#include "client_blocks.h"

#include "export_format/client_block_layout.h"

#include <array>
#include <bit>

namespace kalvian {

namespace {

constexpr std::size_t kBlockWidth = kClientBlockWidth;
const FixedWidthLayout kBlockLayout(kClientBlockFields);

std::size_t slotOf(std::int32_t code, std::size_t slots) {
    return (static_cast<std::uint32_t>(code) * 0x9E3779B1u) & (slots - 1);
}

} // namespace

const char* ClientBlocks::kept(std::int32_t code) const {
    if (m_slots.empty()) {
        return nullptr;
    }
    for (std::size_t slot = slotOf(code, m_slots.size());; slot = (slot + 1) & (m_slots.size() - 1)) {
        const std::uint64_t entry = m_slots[slot];
        if (entry == 0) {
            return nullptr;
        }
        if (static_cast<std::int32_t>(entry >> 32) == code) {
            return m_blocks.data() + ((entry & 0xFFFFFFFFu) - 1) * kBlockWidth;
        }
    }
}

void ClientBlocks::keep(std::int32_t code, std::string_view block) {
    const std::size_t count = m_blocks.size() / kBlockWidth;
    if (count == m_most) {
        return;
    }
    if (m_slots.empty()) {
        // Room for every block the budget allows, taken at once so that nothing is copied as blocks come,
        // and at least twice as many slots, so that probes stay short.
        m_blocks.reserve(m_most * kBlockWidth);
        m_slots.assign(std::bit_ceil(2 * m_most), 0);
    }
    m_blocks += block;
    std::size_t slot = slotOf(code, m_slots.size());
    while (m_slots[slot] != 0) {
        slot = (slot + 1) & (m_slots.size() - 1);
    }
    m_slots[slot] = static_cast<std::uint64_t>(static_cast<std::uint32_t>(code)) << 32 | (count + 1);
}

void ClientBlocks::prefetch(std::int32_t code) {
    // The slot the code is looked for in first, and the client's record in case it is not kept: no load here
    // waits for memory.
    if (!m_slots.empty()) {
        __builtin_prefetch(&m_slots[slotOf(code, m_slots.size())]);
    }
    m_clients.prefetch(code);
}

void ClientBlocks::append(std::string& line, std::int32_t code, std::string_view placeholder) {
    if (const char* block = kept(code)) {
        line.append(block, kBlockWidth);
        return;
    }
    const SourceRecord* client = m_clients.find(code);
    if (client == nullptr) {
        appendMissingClientBlock(line, missingClientName(placeholder, code));
        return;
    }
    std::array<char, kBlockWidth> block;
    client->placeFields(kBlockLayout, block);
    line.append(block.data(), block.size());
    keep(code, std::string_view(block.data(), block.size()));
}

} // namespace kalvian
