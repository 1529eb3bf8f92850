#include "support/open_files.h"

#include <sys/stat.h>

namespace kalvian::test {

bool heldOpen(const std::filesystem::path& file) {
    struct stat wanted {};
    if (::stat(file.c_str(), &wanted) != 0) {
        return false;
    }
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        struct stat info {};
        if (::stat(entry.path().c_str(), &info) == 0 && info.st_dev == wanted.st_dev &&
            info.st_ino == wanted.st_ino) {
            return true;
        }
    }
    return false;
}

} // namespace kalvian::test
