#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kalvian::paradox {

// Where a table's bytes come from: a file on disk, or a buffer in memory (fuzzing, damaged-header tests).
// Reads are positional so a table never needs to be held whole in memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // The name used in messages: the file's path.
    virtual const std::string& name() const = 0;
    virtual std::uint64_t size() const = 0;
    // Fills out from offset; returns how many bytes were there (fewer only at the end of the source).
    // An input/output failure raises kalvian::Error.
    virtual std::size_t readAt(std::uint64_t offset, std::span<std::byte> out) const = 0;
    // Raises TableChanged when the source's size or time is no longer what it was when opened: a file
    // shortened or rewritten by another program meanwhile, whose bytes may have been read half old and half
    // new.
    virtual void checkUnchanged() const {}
};

} // namespace kalvian::paradox
