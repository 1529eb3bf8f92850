#include "platform/files.h"

#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace kalvian {

bool fileExists(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return false;
    }
    return !S_ISDIR(info.st_mode) && !(::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode));
}

bool isPlainFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, int (*)(DIR*)> entries(::opendir(folder.c_str()), ::closedir);
    if (!entries) {
        return names;
    }
    while (const dirent* entry = ::readdir(entries.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    return names;
}

} // namespace kalvian
