#include "resolved_target.h"

#include "platform/file_error.h"

#include <fcntl.h>

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
    int folder = -1;
    if (const int error = calls.openFolder(target.folder.get(), path, folder)) {
        throw FileError(error, FileStep::OpenFolder, shown);
    }
    target.folder = FileDescriptor(folder, calls);
    target.folderPath = path.front() == '/' ? path : target.folderPath + path;
}

std::string readLink(const ResolvedTarget& target, FileCalls& calls, const std::string& shown) {
    std::string text;
    if (const int error = calls.readLink(target.folder.get(), target.name, text)) {
        throw FileError(error, FileStep::CheckTarget, shown);
    }
    return text;
}

} // namespace

ResolvedTarget resolveTarget(const std::string& path, FileCalls& calls) {
    // The names the window and the command line build may join with either separator.
    const Split parts = split(path, "/\\");
    if (parts.name.empty()) {
        throw FileError(EINVAL, FileStep::OpenFolder, path);
    }
    ResolvedTarget target{FileDescriptor(AT_FDCWD, calls), "", parts.name};
    enterFolder(target, parts.folder.empty() ? "./" : parts.folder, calls, path);

    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat info {};
        if (const int error = calls.status(target.folder.get(), target.name, info)) {
            if (error == ENOENT) {
                return target;
            }
            throw FileError(error, FileStep::CheckTarget, path);
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
        const Split link = split(readLink(target, calls, path), "/");
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
