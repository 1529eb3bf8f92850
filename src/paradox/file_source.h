#pragma once

#include "paradox/byte_source.h"
#include "platform/input_file.h"

#include <optional>
#include <string>

namespace kalvian::paradox {

// A table file read by position; the file is held open for the life of the object.
class FileSource : public ByteSource {
public:
    explicit FileSource(std::string path);

    const std::string& name() const override { return m_name; }
    std::uint64_t size() const override { return m_file->size(); }
    std::size_t readAt(std::uint64_t offset, std::span<std::byte> out) const override;
    // Compares the file's size and modification time with those it had when opened (TableChanged).
    void checkUnchanged() const override;

private:
    std::string m_name;
    std::optional<InputFile> m_file;
};

} // namespace kalvian::paradox
