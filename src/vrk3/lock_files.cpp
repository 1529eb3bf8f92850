#include "vrk3/lock_files.h"

#include "common/ascii_case.h"
#include "platform/file_holders.h"
#include "platform/files.h"
#include "platform/path.h"

namespace kalvian {

LockFiles findLockFiles(std::string_view folder) {
    const std::string directory = MontaCaminho(folder, "");
    const std::vector<std::string> entries = folderEntries(directory);
    LockFiles found;
    std::vector<std::string> paths;
    for (const char* lockName : kLockFileNames) {
        for (const std::string& entry : entries) {
            if (equalsIgnoringAsciiCase(entry, lockName) && isPlainFile(directory + entry)) {
                found.names.push_back(entry);
                paths.push_back(directory + entry);
                break;
            }
        }
    }
    found.openNow = !paths.empty() && openInAnotherProcess(paths);
    return found;
}

} // namespace kalvian
