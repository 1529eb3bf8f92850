#pragma once

namespace kalvian {

// ERROR_DIRECTORY_NOT_SUPPORTED, which mingw-w64's headers lack: a folder where a file was asked for.
inline constexpr unsigned long kErrorFolderNotFile = 336;

} // namespace kalvian
