#include "file_calls.h"

#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace kalvian {

namespace {

constexpr mode_t kNewFileMode = 0666; // less the umask, as any new file

// The cause of a call that answered -1.
int outcome(long result) {
    return result < 0 ? errno : 0;
}

int opened(int result, int& fd) {
    fd = result;
    return outcome(result);
}

int counted(long result, std::size_t& count) {
    count = result < 0 ? 0 : static_cast<std::size_t>(result);
    return outcome(result);
}

// A call that a signal may interrupt, made again until it is not.
template <class Call> long uninterrupted(const Call& call) {
    long result = 0;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    return result;
}

} // namespace

int FileCalls::openFolder(int base, const std::string& path, int& folder) {
    return opened(::openat(base, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), folder);
}

int FileCalls::status(int folder, const std::string& name, struct stat& info) {
    return outcome(::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW));
}

int FileCalls::openStatus(int fd, struct stat& info) {
    return outcome(::fstat(fd, &info));
}

int FileCalls::pathStatus(const std::string& path, struct stat& info) {
    return outcome(::stat(path.c_str(), &info));
}

int FileCalls::readLink(int folder, const std::string& name, std::string& target) {
    char text[PATH_MAX];
    const long length = ::readlinkat(folder, name.c_str(), text, sizeof text);
    if (length < 0) {
        return errno;
    }
    if (static_cast<std::size_t>(length) == sizeof text) {
        return ENAMETOOLONG;
    }
    target.assign(text, static_cast<std::size_t>(length));
    return 0;
}

int FileCalls::mayWrite(int folder, const std::string& name) {
    // The effective user's permissions, as an open for writing would check them.
    return outcome(::faccessat(folder, name.c_str(), W_OK, AT_EACCESS));
}

int FileCalls::createUnnamed(int folder, int& fd) {
    // Such a file gets its name through /proc (nameUnnamed); without /proc it could never get one.
    if (::access("/proc/self/fd", X_OK) != 0) {
        return EOPNOTSUPP;
    }
    return opened(::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, kNewFileMode), fd);
}

int FileCalls::createNew(int folder, const std::string& name, int& fd) {
    return opened(
        ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kNewFileMode),
        fd);
}

int FileCalls::write(int fd, const char* data, std::size_t size, std::size_t& written) {
    return counted(uninterrupted([&] { return ::write(fd, data, size); }), written);
}

int FileCalls::readAt(int fd, long long offset, char* data, std::size_t size, std::size_t& got) {
    return counted(uninterrupted([&] { return ::pread(fd, data, size, offset); }), got);
}

int FileCalls::sync(int fd) {
    return outcome(::fsync(fd));
}

int FileCalls::startWriteback(int fd, long long offset, long long length) {
    return outcome(::sync_file_range(fd, offset, length, SYNC_FILE_RANGE_WRITE));
}

int FileCalls::setOwner(int fd, uid_t owner, gid_t group) {
    return outcome(::fchown(fd, owner, group));
}

int FileCalls::setPermissionBits(int fd, mode_t bits) {
    return outcome(::fchmod(fd, bits));
}

int FileCalls::close(int fd) {
    return outcome(::close(fd));
}

int FileCalls::nameUnnamed(int fd, int folder, const std::string& name) {
    // Through /proc, which needs no privilege, unlike AT_EMPTY_PATH.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return outcome(::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW));
}

int FileCalls::renameNoReplace(int folder, const std::string& from, const std::string& to) {
    return outcome(::renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE));
}

int FileCalls::link(int folder, const std::string& from, const std::string& to) {
    return outcome(::linkat(folder, from.c_str(), folder, to.c_str(), 0));
}

int FileCalls::rename(int folder, const std::string& from, const std::string& to) {
    return outcome(::renameat(folder, from.c_str(), folder, to.c_str()));
}

int FileCalls::remove(int folder, const std::string& name) {
    return outcome(::unlinkat(folder, name.c_str(), 0));
}

FileCalls& FileCalls::system() {
    static FileCalls calls;
    return calls;
}

} // namespace kalvian
