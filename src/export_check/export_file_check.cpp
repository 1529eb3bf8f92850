#include "export_file_check.h"

#include "common/error.h"
#include "export_check/export_file_reader.h"
#include "platform/file_error.h"
#include "platform/input_file.h"

#include <cstring>
#include <optional>
#include <vector>

namespace kalvian {

namespace {

constexpr std::size_t kBufferSize = 256 * 1024;
static_assert(kBufferSize > 2 * kLongestRecord);

// The file through one buffer: the bytes not yet checked are [m_begin, m_end).
class StreamedFile {
public:
    explicit StreamedFile(const std::string& path) : m_path(path), m_buffer(kBufferSize) {
        try {
            m_file.emplace(path);
        } catch (const InputFile::Failure& failure) {
            fail(failure);
        }
    }

    // The unchecked bytes: at least a whole record's worth, unless the file ends sooner.
    std::string_view window() {
        if (m_end - m_begin < kLongestRecord && !m_endOfFile) {
            std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
            m_end -= m_begin;
            m_begin = 0;
            while (m_end < m_buffer.size() && !m_endOfFile) {
                m_end += readSome(m_buffer.data() + m_end, m_buffer.size() - m_end);
            }
        }
        return {m_buffer.data() + m_begin, m_end - m_begin};
    }

    void consume(std::size_t bytes) { m_begin += bytes; }

    // The length of the physical line that starts the window, reading on (and dropping what it reads) as far
    // as its LF. Only for the report of a bad line: the file is not read further after it.
    std::size_t physicalLength() {
        const std::string_view bytes = window();
        if (const auto length = physicalLineLength(bytes, m_endOfFile)) {
            return *length;
        }
        std::size_t length = bytes.size();
        char last = bytes.empty() ? '\0' : bytes.back();
        while (!m_endOfFile) {
            const std::size_t got = readSome(m_buffer.data(), m_buffer.size());
            const std::string_view more(m_buffer.data(), got);
            if (const std::size_t lineFeed = more.find('\n'); lineFeed != std::string_view::npos) {
                const char beforeLineFeed = lineFeed > 0 ? more[lineFeed - 1] : last;
                return length + lineFeed - (beforeLineFeed == '\r' ? 1 : 0);
            }
            length += got;
            last = got > 0 ? more.back() : last;
        }
        return length - (last == '\r' ? 1 : 0);
    }

private:
    std::size_t readSome(char* into, std::size_t room) {
        std::size_t got = 0;
        try {
            got = m_file->read(std::as_writable_bytes(std::span(into, room)));
        } catch (const InputFile::Failure& failure) {
            fail(failure);
        }
        m_endOfFile = got == 0;
        return got;
    }

    [[noreturn]] void fail(const InputFile::Failure& failure) const {
        throw Error("Não foi possível ler " + m_path + ": " +
                    ioErrorMessage(failure.systemError, FileOperation::Read));
    }

    std::string m_path;
    std::vector<char> m_buffer;
    std::optional<InputFile> m_file;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_endOfFile = false;
};

} // namespace

ExportLineCheck checkExportFile(const std::string& path) {
    StreamedFile file(path);
    ExportLineCheck check;
    for (std::string_view bytes = file.window(); !bytes.empty(); bytes = file.window()) {
        file.consume(check.next(bytes, [&file] { return file.physicalLength(); }));
    }
    check.finish();
    return check;
}

} // namespace kalvian
