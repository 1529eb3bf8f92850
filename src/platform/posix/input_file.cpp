#include "platform/input_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvian {

namespace {

[[noreturn]] void fail() {
    throw InputFile::Failure{errno};
}

int descriptor(std::intptr_t handle) {
    return static_cast<int>(handle);
}

} // namespace

InputFile::InputFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        fail();
    }
    m_handle = fd;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        throw Failure{error};
    }
    m_kind = S_ISREG(info.st_mode) ? Kind::Plain : S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Other;
    m_size = static_cast<std::uint64_t>(info.st_size);
    m_modifiedSeconds = info.st_mtim.tv_sec;
    m_modifiedNanoseconds = info.st_mtim.tv_nsec;
}

InputFile::~InputFile() {
    ::close(descriptor(m_handle));
}

std::size_t InputFile::read(std::span<std::byte> into) {
    for (;;) {
        const ssize_t got = ::read(descriptor(m_handle), into.data(), into.size());
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            fail();
        }
    }
}

std::size_t InputFile::readAt(std::uint64_t offset, std::span<std::byte> into) const {
    std::size_t done = 0;
    while (done < into.size()) {
        const ssize_t got = ::pread(descriptor(m_handle), into.data() + done, into.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail();
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool InputFile::unchanged() const {
    struct stat info {};
    if (::fstat(descriptor(m_handle), &info) != 0) {
        fail();
    }
    return static_cast<std::uint64_t>(info.st_size) == m_size && info.st_mtim.tv_sec == m_modifiedSeconds &&
           info.st_mtim.tv_nsec == m_modifiedNanoseconds;
}

} // namespace kalvian
