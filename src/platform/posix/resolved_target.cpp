#include "resolved_target.h"

#include "platform/file_error.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvian {

namespace {

// As many links as the system itself follows in one path.
constexpr int kMaxLinks = 40;

struct Split {
    std::string folder; // up to and with the last separator; empty when there is none
    std::string name;
};

Split split(const std::string& path, const char* separators) {
    const auto last = path.find_last_of(separators);
    if (last == std::string::npos) {
        return {{}, path};
    }
    return {path.substr(0, last + 1), path.substr(last + 1)};
}

// Moves `target` into the folder `path`, relative to the folder it is in.
void enterFolder(ResolvedTarget& target, const std::string& path, FileCalls& calls,
                 const std::string& shown) {
    FileDescriptor folder(calls.openFolder(target.folder.get(), path));
    if (folder.get() < 0) {
        throw FileError(errno, FileStep::OpenFolder, shown);
    }
    target.folder = std::move(folder);
    target.folderPath = path.front() == '/' ? path : target.folderPath + path;
}

std::string readLink(const ResolvedTarget& target, const std::string& shown) {
    char text[PATH_MAX];
    const long length = ::readlinkat(target.folder.get(), target.name.c_str(), text, sizeof text);
    if (length < 0) {
        throw FileError(errno, FileStep::CheckTarget, shown);
    }
    if (static_cast<std::size_t>(length) == sizeof text) {
        throw FileError(ENAMETOOLONG, FileStep::CheckTarget, shown);
    }
    return {text, static_cast<std::size_t>(length)};
}

} // namespace

ResolvedTarget resolveTarget(const std::string& path, FileCalls& calls) {
    // The names the window and the command line build may join with either separator.
    const Split parts = split(path, "/\\");
    if (parts.name.empty()) {
        throw FileError(EINVAL, FileStep::OpenFolder, path);
    }
    ResolvedTarget target{FileDescriptor(AT_FDCWD), "", parts.name};
    enterFolder(target, parts.folder.empty() ? "./" : parts.folder, calls, path);

    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat info {};
        if (::fstatat(target.folder.get(), target.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT) {
                return target;
            }
            throw FileError(errno, FileStep::CheckTarget, path);
        }
        if (S_ISDIR(info.st_mode)) {
            throw FileError(EISDIR, FileStep::CheckTarget, path);
        }
        if (!S_ISLNK(info.st_mode)) {
            // A device or a pipe is no file to replace with a new one.
            if (!S_ISREG(info.st_mode)) {
                throw FileError(EPERM, FileStep::CheckTarget, path);
            }
            target.exists = true;
            return target;
        }
        const Split link = split(readLink(target, path), "/");
        if (link.name.empty()) {
            throw FileError(EISDIR, FileStep::CheckTarget, path);
        }
        if (!link.folder.empty()) {
            enterFolder(target, link.folder, calls, path);
        }
        target.name = link.name;
    }
    throw FileError(ELOOP, FileStep::CheckTarget, path);
}

} // namespace kalvian
