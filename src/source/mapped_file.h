#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kalvian::paradox {

// A file's bytes mapped read-only, copied out one piece at a time. Another program may shorten the file
// while it is mapped; touching a page past the new end raises SIGBUS, so every copy runs under a guard
// that turns that signal into a false result instead of the end of the process. Pages already copied are
// handed back to the system now and then, so a scan of a large table does not keep it all resident.
class MappedFile {
public:
    // Maps the first size bytes of the open descriptor. A file that cannot be mapped (empty, or on a file
    // system without mapping) gives an object whose isMapped() is false.
    MappedFile(int fd, std::uint64_t size);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool isMapped() const { return m_data != nullptr; }

    // Copies out.size() bytes from offset, which the caller keeps within the mapped size. False when the
    // file no longer holds them.
    bool copy(std::uint64_t offset, std::span<std::byte> out) const;

private:
    const std::byte* m_data = nullptr;
    std::size_t m_size = 0;
    mutable std::size_t m_copiedSinceRelease = 0;
};

} // namespace kalvian::paradox
