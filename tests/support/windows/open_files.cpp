#include "support/open_files.h"

#include <windows.h>

namespace kalvian::test {

bool heldOpen(const std::filesystem::path& file) {
    // Opened sharing nothing: refused while any other handle has the file open.
    const HANDLE handle =
        ::CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return ::GetLastError() == ERROR_SHARING_VIOLATION;
    }
    ::CloseHandle(handle);
    return false;
}

} // namespace kalvian::test
