#pragma once

#include "paradox/byte_source.h"

#include <ctime>
#include <filesystem>

namespace kalvian::paradox {

// A table file read with pread; the descriptor is held open for the life of the object.
class FileSource : public ByteSource {
public:
    explicit FileSource(const std::filesystem::path& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    const std::string& name() const override { return m_name; }
    std::uint64_t size() const override { return m_size; }
    std::size_t readAt(std::uint64_t offset, std::span<std::byte> out) const override;
    // Compares the file's size and modification time with those it had when opened.
    void checkUnchanged() const override;

private:
    std::string m_name;
    int m_fd = -1;
    std::uint64_t m_size = 0;
    timespec m_modified{};
};

} // namespace kalvian::paradox
