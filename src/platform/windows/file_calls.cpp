#include "platform/windows/file_calls.h"

#include <windows.h>

namespace kalvian {

unsigned long FileCalls::attributes(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str());
}

FileCalls::Handle FileCalls::createNew(const std::wstring& path) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

bool FileCalls::write(Handle file, const char* data, unsigned long size, unsigned long& written) {
    DWORD done = 0;
    const bool ok = ::WriteFile(file, data, size, &done, nullptr) != 0;
    written = done;
    return ok;
}

bool FileCalls::flush(Handle file) {
    return ::FlushFileBuffers(file) != 0;
}

bool FileCalls::close(Handle file) {
    return ::CloseHandle(file) != 0;
}

bool FileCalls::moveNew(const std::wstring& from, const std::wstring& to) {
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

bool FileCalls::mayRemove(const std::wstring& path) {
    const HANDLE file =
        ::CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::CloseHandle(file);
    return true;
}

bool FileCalls::replace(const std::wstring& replaced, const std::wstring& replacement) {
    return ::ReplaceFileW(replaced.c_str(), replacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                          nullptr, nullptr) != 0;
}

bool FileCalls::setAttributes(const std::wstring& path, unsigned long attributes) {
    return ::SetFileAttributesW(path.c_str(), attributes) != 0;
}

bool FileCalls::remove(const std::wstring& path) {
    return ::DeleteFileW(path.c_str()) != 0;
}

FileCalls& FileCalls::system() {
    static FileCalls calls;
    return calls;
}

} // namespace kalvian
