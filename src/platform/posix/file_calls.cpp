#include "file_calls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace kalvian {

namespace {

constexpr mode_t kNewFileMode = 0666; // less the umask, as any new file

} // namespace

int FileCalls::openFolder(int base, const std::string& path) {
    return ::openat(base, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

int FileCalls::createUnnamed(int folder) {
    // Such a file gets its name through /proc (nameUnnamed); without /proc it could never get one.
    if (::access("/proc/self/fd", X_OK) != 0) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return ::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, kNewFileMode);
}

int FileCalls::createNew(int folder, const std::string& name) {
    return ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kNewFileMode);
}

long FileCalls::write(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

int FileCalls::sync(int fd) {
    return ::fsync(fd);
}

int FileCalls::startWriteback(int fd, long long offset, long long length) {
    return ::sync_file_range(fd, offset, length, SYNC_FILE_RANGE_WRITE);
}

int FileCalls::close(int fd) {
    return ::close(fd);
}

int FileCalls::nameUnnamed(int fd, int folder, const std::string& name) {
    // Through /proc, which needs no privilege, unlike AT_EMPTY_PATH.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW);
}

int FileCalls::renameNoReplace(int folder, const std::string& from, const std::string& to) {
    return ::renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE);
}

int FileCalls::link(int folder, const std::string& from, const std::string& to) {
    return ::linkat(folder, from.c_str(), folder, to.c_str(), 0);
}

int FileCalls::rename(int folder, const std::string& from, const std::string& to) {
    return ::renameat(folder, from.c_str(), folder, to.c_str());
}

int FileCalls::remove(int folder, const std::string& name) {
    return ::unlinkat(folder, name.c_str(), 0);
}

FileCalls& FileCalls::system() {
    static FileCalls calls;
    return calls;
}

} // namespace kalvian
