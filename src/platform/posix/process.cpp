#include "platform/process.h"

#include <climits>
#include <unistd.h>

namespace kalvian {

std::string currentFolder() {
    char path[PATH_MAX];
    return ::getcwd(path, sizeof path) != nullptr ? std::string(path) : std::string(".");
}

bool standardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace kalvian
