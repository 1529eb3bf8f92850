#include "platform/system_error.h"

#include "platform/windows/error_codes.h"
#include "platform/windows/wide_text.h"

#include <windows.h>

namespace kalvian {

ErrorKind errorKind(int systemError) {
    switch (static_cast<DWORD>(systemError)) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ErrorKind::NotFound;
    case ERROR_DIRECTORY:
        return ErrorKind::NotAFolder;
    case ERROR_FILENAME_EXCED_RANGE:
        return ErrorKind::NameTooLong;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_PARAMETER:
        return ErrorKind::InvalidName;
    case ERROR_CANT_RESOLVE_FILENAME:
        return ErrorKind::LinkLoop;
    case ERROR_TOO_MANY_OPEN_FILES:
        return ErrorKind::TooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return ErrorKind::AccessDenied;
    case ERROR_WRITE_PROTECT:
        return ErrorKind::ReadOnly;
    case kErrorFolderNotFile:
        return ErrorKind::IsAFolder;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
        return ErrorKind::DiskFull;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return ErrorKind::InUse;
    default:
        return ErrorKind::Other;
    }
}

std::string systemErrorText(int systemError) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(systemError), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0) {
        return "erro " + std::to_string(systemError);
    }
    std::wstring message(text, length);
    ::LocalFree(text);
    // The system ends its texts with a period and a line break, which the sentence around them does not want.
    while (!message.empty() &&
           (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.')) {
        message.pop_back();
    }
    return toUtf8(message);
}

} // namespace kalvian
