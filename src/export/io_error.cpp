#include "io_error.h"

#include <cerrno>

namespace kalvian {

std::string ioErrorMessage(int systemError, FileOperation operation) {
    switch (systemError) {
    case ENOENT:
        // A file missing where it must be read; when creating, a folder of the path is missing.
        return operation == FileOperation::Read ? "File not found" : "Invalid filename";
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return "Invalid filename";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return "Disk full";
    default:
        return "I/O error " + std::to_string(systemError);
    }
}

} // namespace kalvian
