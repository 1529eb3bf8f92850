#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kalvian {

// A file opened for reading, by position or from start to end (a pipe too). Every failure raises
// InputFile::Failure with the system's code, which the caller puts in its own words.
class InputFile {
public:
    struct Failure {
        int systemError = 0;
    };
    enum class Kind { Plain, Folder, Other };

    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    Kind kind() const { return m_kind; }
    // Of a plain file, as it was when opened.
    std::uint64_t size() const { return m_size; }

    // The next bytes, as many as come at once; 0 at the end.
    std::size_t read(std::span<std::byte> into);
    // Fills `into` from `offset`; fewer bytes only at the end of the file.
    std::size_t readAt(std::uint64_t offset, std::span<std::byte> into) const;
    // False when the file's size or modification time differ from those it had when opened: another
    // program shortened or rewrote it meanwhile.
    bool unchanged() const;

private:
    std::intptr_t m_handle = -1;
    Kind m_kind = Kind::Other;
    std::uint64_t m_size = 0;
    std::int64_t m_modifiedSeconds = 0;
    std::int64_t m_modifiedNanoseconds = 0;
};

} // namespace kalvian
