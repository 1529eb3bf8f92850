#include "support/windows/wide_files.h"

#include "platform/windows/wide_text.h"

#include <windows.h>

namespace kalvian::test {

void makeFolders(const std::string& path) {
    const std::wstring whole = systemPath(path) + L'\\';
    // From the first separator after "\\?\C:\", each folder of the path in turn.
    for (std::size_t at = whole.find(L'\\', 7); at != std::wstring::npos; at = whole.find(L'\\', at + 1)) {
        ::CreateDirectoryW(whole.substr(0, at).c_str(), nullptr);
    }
}

std::string readWide(const std::string& path) {
    const HANDLE file = ::CreateFileW(systemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "(cannot open: " + std::to_string(::GetLastError()) + ")";
    }
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    ::CloseHandle(file);
    return bytes;
}

} // namespace kalvian::test
