#include "file_calls.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace kalvian {

int FileCalls::createNew(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

long FileCalls::write(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

int FileCalls::sync(int fd) {
    return ::fsync(fd);
}

int FileCalls::close(int fd) {
    return ::close(fd);
}

int FileCalls::rename(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str());
}

int FileCalls::remove(const std::string& path) {
    return ::unlink(path.c_str());
}

FileCalls& FileCalls::system() {
    static FileCalls calls;
    return calls;
}

} // namespace kalvian
