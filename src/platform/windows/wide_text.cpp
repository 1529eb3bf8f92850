#include "platform/windows/wide_text.h"

#include <windows.h>
#include <vector>

namespace kalvian {

std::wstring toWide(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string toUtf8(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::wstring systemPath(std::string_view utf8) {
    std::wstring path = toWide(utf8);
    for (wchar_t& ch : path) {
        if (ch == L'/') {
            ch = L'\\';
        }
    }
    if (path.rfind(L"\\\\?\\", 0) == 0) {
        return path;
    }
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return path; // the call that takes it reports what is wrong with it
    }
    std::vector<wchar_t> full(needed);
    const DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    std::wstring whole(full.data(), length);
    if (whole.rfind(L"\\\\", 0) == 0) {
        return L"\\\\?\\UNC\\" + whole.substr(2);
    }
    return L"\\\\?\\" + whole;
}

std::wstring folderOf(const std::wstring& path) {
    const std::size_t last = path.find_last_of(L'\\');
    return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

} // namespace kalvian
