#include "platform/system_error.h"

#include <cerrno>
#include <system_error>

namespace kalvian {

ErrorKind errorKind(int systemError) {
    switch (systemError) {
    case ENOENT:
        return ErrorKind::NotFound;
    case ENOTDIR:
        return ErrorKind::NotAFolder;
    case ENAMETOOLONG:
        return ErrorKind::NameTooLong;
    case EINVAL:
        return ErrorKind::InvalidName;
    case ELOOP:
        return ErrorKind::LinkLoop;
    case EMFILE:
    case ENFILE:
        return ErrorKind::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case ETXTBSY: // a program running from the file
        return ErrorKind::AccessDenied;
    case EROFS:
        return ErrorKind::ReadOnly;
    case EISDIR:
        return ErrorKind::IsAFolder;
    case EBUSY: // Linux's SMB client, for a file another program opened sharing it with no one
        return ErrorKind::InUse;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ErrorKind::DiskFull;
    default:
        return ErrorKind::Other;
    }
}

std::string systemErrorText(int systemError) {
    return std::generic_category().message(systemError);
}

} // namespace kalvian
