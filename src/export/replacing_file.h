#pragma once

#include "export/file_calls.h"

#include <string>
#include <string_view>

namespace kalvian {

// Writes a file that replaces `target` in one step, or not at all. The bytes go to a new temporary file in
// the target's folder; commit() flushes and syncs it, then renames it over the target. A failure at any
// point raises kalvian::Error with the I/O message and leaves an existing target untouched; the temporary
// file is removed whenever the object goes away uncommitted.
class ReplacingFile {
public:
    explicit ReplacingFile(std::string target, FileCalls& calls = FileCalls::system());
    ~ReplacingFile();

    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void write(std::string_view bytes);
    void commit();

    const std::string& temporaryPath() const { return m_temporary; }

private:
    void flush();

    FileCalls& m_calls;
    std::string m_target;
    std::string m_temporary;
    std::string m_buffer;
    int m_fd = -1;
    bool m_committed = false;
};

} // namespace kalvian
