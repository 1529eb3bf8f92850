#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kalvian {

// Gathers the many small writes of an export into few large ones; a piece as large as the buffer goes
// through at once. `writeAll` writes every byte it is given, or raises.
class BufferedOutput {
public:
    static constexpr std::size_t kSize = 64 * 1024;

    BufferedOutput() { m_buffer.reserve(kSize); }

    template <class WriteAll> void write(std::string_view bytes, const WriteAll& writeAll) {
        if (m_buffer.size() + bytes.size() > kSize) {
            flush(writeAll);
        }
        if (bytes.size() >= kSize) {
            writeAll(bytes);
        } else {
            m_buffer += bytes;
        }
    }

    template <class WriteAll> void flush(const WriteAll& writeAll) {
        if (!m_buffer.empty()) {
            writeAll(std::string_view(m_buffer));
            m_buffer.clear();
        }
    }

private:
    std::string m_buffer;
};

} // namespace kalvian
