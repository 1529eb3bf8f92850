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

std::string_view fileNameOf(std::string_view path) {
#ifdef _WIN32
    const std::size_t last = path.find_last_of("/\\");
    if (last == std::string_view::npos && path.size() >= 2 && path[1] == ':') {
        return path.substr(2); // a drive's current folder: "C:resumo.csv"
    }
#else
    const std::size_t last = path.find_last_of('/');
#endif
    return last == std::string_view::npos ? path : path.substr(last + 1);
}

} // namespace kalvian
