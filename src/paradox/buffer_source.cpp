#include "paradox/buffer_source.h"

#include <algorithm>

namespace kalvian::paradox {

BufferSource::BufferSource(std::vector<std::byte> bytes, std::string name)
    : m_bytes(std::move(bytes)), m_name(std::move(name)) {}

std::size_t BufferSource::readAt(std::uint64_t offset, std::span<std::byte> out) const {
    if (offset >= m_bytes.size()) {
        return 0;
    }
    const std::size_t count = std::min<std::uint64_t>(out.size(), m_bytes.size() - offset);
    std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(offset), count, out.begin());
    return count;
}

} // namespace kalvian::paradox
