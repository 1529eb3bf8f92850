#pragma once

#include "paradox/byte_source.h"

#include <vector>

namespace kalvian::paradox {

// A table held in memory, named as if it were a file.
class BufferSource : public ByteSource {
public:
    BufferSource(std::vector<std::byte> bytes, std::string name);

    const std::string& name() const override { return m_name; }
    std::uint64_t size() const override { return m_bytes.size(); }
    std::size_t readAt(std::uint64_t offset, std::span<std::byte> out) const override;

private:
    std::vector<std::byte> m_bytes;
    std::string m_name;
};

} // namespace kalvian::paradox
