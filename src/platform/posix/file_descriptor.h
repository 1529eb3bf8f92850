#pragma once

#include "platform/posix/file_calls.h"

#include <utility>

namespace kalvian {

// Owns an open descriptor and closes it, through the calls that opened it, when it goes away.
class FileDescriptor {
public:
    FileDescriptor() = default;
    FileDescriptor(int fd, FileCalls& calls) : m_fd(fd), m_calls(&calls) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            m_calls->close(m_fd);
        }
    }
    FileDescriptor(FileDescriptor&& other) noexcept
        : m_fd(std::exchange(other.m_fd, -1)), m_calls(other.m_calls) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        std::swap(m_fd, other.m_fd);
        std::swap(m_calls, other.m_calls);
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }

private:
    int m_fd = -1;
    FileCalls* m_calls = nullptr;
};

} // namespace kalvian
