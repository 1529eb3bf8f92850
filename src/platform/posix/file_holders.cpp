#include "platform/file_holders.h"

#include <charconv>
#include <dirent.h>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kalvian {

namespace {

using FileId = std::pair<dev_t, ino_t>;
using Folder = std::unique_ptr<DIR, int (*)(DIR*)>;

Folder openFolder(const std::string& path) {
    return {::opendir(path.c_str()), ::closedir};
}

bool isProcessNumber(const char* name, pid_t& pid) {
    const std::string_view text(name);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
    return error == std::errc{} && end == text.data() + text.size();
}

// Whether one of the process's descriptors leads to one of the files. stat() of /proc/<pid>/fd/<n> looks at
// what the descriptor leads to without opening it.
bool holdsOneOf(const std::string& process, const std::set<FileId>& files) {
    const std::string folder = process + "/fd";
    const Folder descriptors = openFolder(folder);
    if (!descriptors) {
        return false; // another user's process, or one that just ended
    }
    while (const dirent* entry = ::readdir(descriptors.get())) {
        struct stat info {};
        if (entry->d_name[0] != '.' && ::stat((folder + '/' + entry->d_name).c_str(), &info) == 0 &&
            files.count({info.st_dev, info.st_ino}) > 0) {
            return true;
        }
    }
    return false;
}

} // namespace

bool openInAnotherProcess(const std::vector<std::string>& paths) {
    std::set<FileId> files;
    for (const std::string& path : paths) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) {
            files.insert({info.st_dev, info.st_ino});
        }
    }
    const Folder processes = openFolder("/proc");
    if (files.empty() || !processes) {
        return false;
    }
    const pid_t self = ::getpid();
    while (const dirent* entry = ::readdir(processes.get())) {
        pid_t pid = 0;
        if (isProcessNumber(entry->d_name, pid) && pid != self &&
            holdsOneOf(std::string("/proc/") + entry->d_name, files)) {
            return true;
        }
    }
    return false;
}

} // namespace kalvian
