#include "client_blocks.h"

#include "export_format/client_block_layout.h"
#include "export_format/fill.h"

#include <algorithm>

namespace kalvian {

namespace {

constexpr std::size_t kBlockWidth = kClientBlockWidth;

void appendFoundClient(std::string& line, const SourceRecord& client) {
    for (const ClientBlockField& field : kClientBlockFields) {
        const int width = static_cast<int>(field.width);
        if (field.fill == '0') {
            appendPreencheEsquerda(line, client.asText(field.name), width, field.fill);
        } else {
            appendPreencheDireita(line, client.asText(field.name), width, field.fill);
        }
    }
}

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
    // An entry costs its block and the table's own bookkeeping, counted roughly as the block again.
    constexpr std::size_t kEntryCost = 2 * kBlockWidth;
    if (m_budget < kEntryCost) {
        return;
    }
    m_budget -= kEntryCost;
    const std::uint64_t number = m_blocks.size() / kBlockWidth + 1;
    m_blocks += block;
    // At least twice as many slots as blocks, so probes stay short: the table doubles as blocks come.
    if (2 * number > m_slots.size()) {
        std::vector<std::uint64_t> slots(std::max<std::size_t>(64, 2 * m_slots.size()), 0);
        for (const std::uint64_t entry : m_slots) {
            if (entry != 0) {
                place(slots, entry);
            }
        }
        m_slots = std::move(slots);
    }
    place(m_slots, static_cast<std::uint64_t>(static_cast<std::uint32_t>(code)) << 32 | number);
}

void ClientBlocks::place(std::vector<std::uint64_t>& slots, std::uint64_t entry) {
    std::size_t slot = slotOf(static_cast<std::int32_t>(entry >> 32), slots.size());
    while (slots[slot] != 0) {
        slot = (slot + 1) & (slots.size() - 1);
    }
    slots[slot] = entry;
}

void ClientBlocks::append(std::string& line, std::int32_t code, const char* placeholder) {
    if (const char* block = kept(code)) {
        line.append(block, kBlockWidth);
        return;
    }
    const SourceRecord* client = m_clients.find(code);
    if (client == nullptr) {
        appendMissingClientBlock(line, missingClientName(placeholder, code));
        return;
    }
    const std::size_t start = line.size();
    appendFoundClient(line, *client);
    keep(code, std::string_view(line).substr(start));
}

} // namespace kalvian
