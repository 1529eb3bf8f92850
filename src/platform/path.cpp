#include "platform/path.h"

#include "common/trim.h"

namespace kalvian {

std::string MontaCaminho(std::string_view folder, std::string_view name) {
    std::string path(trimBlanks(folder));
    if (path.empty() || (path.back() != '\\' && path.back() != '/')) {
        path += kPathSeparator;
    }
    path += name;
    return path;
}

} // namespace kalvian
