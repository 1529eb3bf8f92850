#include "platform/file_holders.h"

#include "platform/windows/wide_text.h"

#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <vector>
#include <winternl.h>

namespace kalvian {

namespace {

// FileProcessIdsUsingFileInformation and its answer, which mingw-w64 keeps only in its driver headers.
constexpr int kProcessIdsUsingFile = 47;
struct ProcessIdsUsingFile {
    ULONG count;
    ULONG_PTR ids[1];
};

bool openElsewhere(const std::string& path) {
    // Attributes only, shared with everything: such an open meets no sharing mode, and no lock.
    const HANDLE file = ::CreateFileW(systemPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::vector<std::uint64_t> buffer(1024);
    IO_STATUS_BLOCK status{};
    const NTSTATUS result = ::NtQueryInformationFile(
        file, &status, buffer.data(), static_cast<ULONG>(buffer.size() * sizeof buffer[0]),
        static_cast<FILE_INFORMATION_CLASS>(kProcessIdsUsingFile));
    ::CloseHandle(file);
    if (!NT_SUCCESS(result)) {
        return false; // a system or a share that cannot tell
    }
    const auto* answer = reinterpret_cast<const ProcessIdsUsingFile*>(buffer.data());
    const std::size_t most =
        (buffer.size() * sizeof buffer[0] - offsetof(ProcessIdsUsingFile, ids)) / sizeof(ULONG_PTR);
    const ULONG_PTR self = ::GetCurrentProcessId();
    for (std::size_t i = 0; i < answer->count && i < most; ++i) {
        if (answer->ids[i] != self) {
            return true;
        }
    }
    return false;
}

} // namespace

bool openInAnotherProcess(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (openElsewhere(path)) {
            return true;
        }
    }
    return false;
}

} // namespace kalvian
