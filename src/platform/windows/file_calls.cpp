#include "platform/windows/file_calls.h"

#include <windows.h>
#include <algorithm>

namespace kalvian {

static_assert(FileCalls::kDiskFull == ERROR_DISK_FULL);

namespace {

// The cause of a call that answered failure.
int outcome(bool succeeded) {
    return succeeded ? 0 : static_cast<int>(::GetLastError());
}

} // namespace

int FileCalls::attributes(const std::wstring& path, unsigned long& attributes) {
    attributes = ::GetFileAttributesW(path.c_str());
    return outcome(attributes != INVALID_FILE_ATTRIBUTES);
}

int FileCalls::createNew(const std::wstring& path, Handle& file) {
    const HANDLE created = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                         nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    file = created == INVALID_HANDLE_VALUE ? nullptr : created;
    return outcome(file != nullptr);
}

int FileCalls::write(Handle file, const char* data, std::size_t size, std::size_t& written) {
    DWORD done = 0;
    const auto most = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    const bool ok = ::WriteFile(file, data, most, &done, nullptr) != 0;
    written = done;
    return outcome(ok);
}

int FileCalls::sync(Handle file) {
    return outcome(::FlushFileBuffers(file) != 0);
}

int FileCalls::close(Handle file) {
    return outcome(::CloseHandle(file) != 0);
}

int FileCalls::moveNew(const std::wstring& from, const std::wstring& to) {
    return outcome(::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0);
}

int FileCalls::mayRemove(const std::wstring& path) {
    const HANDLE file =
        ::CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return outcome(false);
    }
    ::CloseHandle(file);
    return 0;
}

int FileCalls::replace(const std::wstring& replaced, const std::wstring& replacement) {
    return outcome(::ReplaceFileW(replaced.c_str(), replacement.c_str(), nullptr,
                                  REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0);
}

int FileCalls::setAttributes(const std::wstring& path, unsigned long attributes) {
    return outcome(::SetFileAttributesW(path.c_str(), attributes) != 0);
}

int FileCalls::remove(const std::wstring& path) {
    return outcome(::DeleteFileW(path.c_str()) != 0);
}

FileCalls& FileCalls::system() {
    static FileCalls calls;
    return calls;
}

} // namespace kalvian
