#include "paradox/block_chain.h"

#include "paradox/paradox_layout.h"
#include "paradox/table_error.h"

#include <algorithm>

namespace kalvian::paradox {

namespace {

using layout::kBlockHead;

std::string blockName(int number) {
    return "bloco " + std::to_string(number);
}

} // namespace

BlockHead BlockHead::of(std::span<const std::byte> block, std::size_t recordSize) {
    if (block.size() < kBlockHead) {
        return {};
    }
    return {true, static_cast<int>(block[0]) | static_cast<int>(block[1]) << 8,
            static_cast<std::int16_t>(static_cast<unsigned>(block[4]) | static_cast<unsigned>(block[5]) << 8),
            (block.size() - kBlockHead) / recordSize};
}

std::optional<std::size_t> BlockHead::records(std::size_t recordSize, std::size_t capacity) const {
    if (lastOffset < 0) {
        return 0;
    }
    const auto offset = static_cast<std::size_t>(lastOffset);
    if (offset % recordSize != 0 || offset / recordSize + 1 > capacity) {
        return std::nullopt;
    }
    // A block cut short by the end of the file still yields the whole records it holds.
    return std::min(offset / recordSize + 1, room);
}

ChainCheck::ChainCheck(const std::string& name, const TableHeader& header)
    : m_name(name), m_header(header), m_recordSize(static_cast<std::size_t>(header.recordSize)),
      m_capacity((static_cast<std::size_t>(header.blockSize) - kBlockHead) / m_recordSize),
      m_visited(static_cast<std::size_t>(header.lastFileBlock) + 1, false) {}

void ChainCheck::reach(int number) {
    if (number > m_header.lastFileBlock) {
        throw damagedTable(m_name, blockName(number) + " fora do arquivo");
    }
    if (m_visited[static_cast<std::size_t>(number)]) {
        throw damagedTable(m_name, "a cadeia de blocos volta ao " + blockName(number));
    }
    m_visited[static_cast<std::size_t>(number)] = true;
}

std::size_t ChainCheck::records(int number, const BlockHead& head) {
    if (!head.present) {
        throw damagedTable(m_name, blockName(number) + " fora do arquivo");
    }
    const std::optional<std::size_t> count = head.records(m_recordSize, m_capacity);
    if (!count) {
        throw damagedTable(m_name, blockName(number) +
                                       " com tamanho de dados inválido: " + std::to_string(head.lastOffset));
    }
    m_records += *count;
    return *count;
}

void ChainCheck::end() const {
    if (m_records != m_header.recordCount) {
        throw damagedTable(m_name, "os blocos têm " + std::to_string(m_records) +
                                       " registros e o cabeçalho declara " +
                                       std::to_string(m_header.recordCount));
    }
}

} // namespace kalvian::paradox
