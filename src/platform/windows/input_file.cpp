#include "platform/input_file.h"

#include "platform/windows/error_codes.h"
#include "platform/windows/wide_text.h"

#include <windows.h>
#include <algorithm>

namespace kalvian {

namespace {

[[noreturn]] void fail() {
    throw InputFile::Failure{static_cast<int>(::GetLastError())};
}

// A folder opens, to be told apart, but has no bytes to read: refused as a folder, as POSIX refuses reading
// one (ReadFile would give ERROR_INVALID_FUNCTION, which means nothing to the user).
void refuseFolder(InputFile::Kind kind) {
    if (kind == InputFile::Kind::Folder) {
        throw InputFile::Failure{static_cast<int>(kErrorFolderNotFile)};
    }
}

HANDLE handleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// Reads at most what one call can take.
DWORD chunk(std::size_t size) {
    return static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
}

std::int64_t lastWrite(HANDLE file) {
    FILETIME written{};
    if (!::GetFileTime(file, nullptr, nullptr, &written)) {
        fail();
    }
    return static_cast<std::int64_t>(
        ULARGE_INTEGER{{written.dwLowDateTime, written.dwHighDateTime}}.QuadPart);
}

std::uint64_t sizeOf(HANDLE file) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size)) {
        fail();
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

} // namespace

InputFile::InputFile(const std::string& path) {
    // Other programs may go on reading, writing or renaming the file; a folder opens too, to be told apart.
    const HANDLE file = ::CreateFileW(systemPath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fail();
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        m_kind = Kind::Other;
        return;
    }
    if (!::GetFileInformationByHandle(file, &info)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(file);
        m_handle = -1;
        throw Failure{static_cast<int>(error)};
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        m_kind = Kind::Folder;
        return;
    }
    m_kind = Kind::Plain;
    m_size = sizeOf(file);
    m_modifiedSeconds = lastWrite(file);
}

InputFile::~InputFile() {
    if (m_handle != -1) {
        ::CloseHandle(handleOf(m_handle));
    }
}

std::size_t InputFile::read(std::span<std::byte> into) {
    refuseFolder(m_kind);
    DWORD got = 0;
    if (!::ReadFile(handleOf(m_handle), into.data(), chunk(into.size()), &got, nullptr)) {
        // The writing end of a pipe closed: the end of what it sends.
        if (::GetLastError() == ERROR_BROKEN_PIPE) {
            return 0;
        }
        fail();
    }
    return got;
}

std::size_t InputFile::readAt(std::uint64_t offset, std::span<std::byte> into) const {
    refuseFolder(m_kind);
    std::size_t done = 0;
    while (done < into.size()) {
        OVERLAPPED at{};
        const std::uint64_t position = offset + done;
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        DWORD got = 0;
        if (!::ReadFile(handleOf(m_handle), into.data() + done, chunk(into.size() - done), &got, &at)) {
            if (::GetLastError() == ERROR_HANDLE_EOF) {
                break;
            }
            fail();
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

bool InputFile::unchanged() const {
    const HANDLE file = handleOf(m_handle);
    return sizeOf(file) == m_size && lastWrite(file) == m_modifiedSeconds;
}

} // namespace kalvian
