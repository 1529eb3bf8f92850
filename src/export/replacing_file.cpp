#include "replacing_file.h"

#include "common/error.h"
#include "export/io_error.h"

#include <cerrno>
#include <random>
#include <sys/stat.h>

namespace kalvian {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kNameAttempts = 100;

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

[[noreturn]] void fail(int systemError, bool creating) {
    throw Error(ioErrorMessage(systemError, creating ? FileOperation::Create : FileOperation::Write));
}

} // namespace

ReplacingFile::ReplacingFile(std::string target, FileCalls& calls)
    : m_calls(calls), m_target(std::move(target)) {
    if (m_target.empty() || m_target.back() == '/' || m_target.back() == '\\') {
        fail(EINVAL, true);
    }
    struct stat existing {};
    if (::stat(m_target.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
        fail(EISDIR, true);
    }
    // A name of our own beside the target, so the final rename stays within one file system.
    std::random_device seed;
    std::mt19937 random(seed());
    const std::string folder = folderOf(m_target);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        m_temporary = folder + ".kalvian-" + std::to_string(random() % 1000000000) + ".tmp";
        m_fd = m_calls.createNew(m_temporary);
        if (m_fd >= 0) {
            m_buffer.reserve(kBufferSize);
            return;
        }
        if (errno != EEXIST) {
            const int error = errno;
            m_temporary.clear();
            fail(error, true);
        }
    }
    m_temporary.clear();
    fail(EEXIST, true);
}

ReplacingFile::~ReplacingFile() {
    if (m_fd >= 0) {
        m_calls.close(m_fd);
    }
    if (!m_committed && !m_temporary.empty()) {
        m_calls.remove(m_temporary);
    }
}

void ReplacingFile::write(std::string_view bytes) {
    if (m_buffer.size() + bytes.size() > kBufferSize) {
        flush();
    }
    if (bytes.size() >= kBufferSize) {
        m_buffer = bytes;
        flush();
    } else {
        m_buffer += bytes;
    }
}

void ReplacingFile::flush() {
    std::size_t done = 0;
    while (done < m_buffer.size()) {
        const long written = m_calls.write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            // A write that moves nothing without an error code is a full disk all the same.
            fail(written < 0 ? errno : ENOSPC, false);
        }
        done += static_cast<std::size_t>(written);
    }
    m_buffer.clear();
}

void ReplacingFile::commit() {
    flush();
    if (m_calls.sync(m_fd) != 0) {
        fail(errno, false);
    }
    const int fd = m_fd;
    m_fd = -1;
    if (m_calls.close(fd) != 0) {
        fail(errno, false);
    }
    if (m_calls.rename(m_temporary, m_target) != 0) {
        fail(errno, true);
    }
    m_committed = true;
}

} // namespace kalvian
