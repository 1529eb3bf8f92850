#pragma once

#include <cstddef>
#include <string>

namespace kalvian {

// The Windows calls an output file is written with, on whole wide paths (systemPath). Each returns 0 when it
// succeeded, and otherwise the cause (what GetLastError() gives); what a call gives back goes into its last
// arguments. Tests override some of them to make a disk fill up or another program hold a file. A handle is
// the system's HANDLE.
class FileCalls {
public:
    using Handle = void*;
    static constexpr Handle kNoHandle = nullptr;
    static constexpr int kDiskFull = 112; // ERROR_DISK_FULL

    virtual ~FileCalls() = default;

    // GetFileAttributesW.
    virtual int attributes(const std::wstring& path, unsigned long& attributes);
    // A new file, for writing, that other programs may read and the interrupt handler may delete;
    // fails with ERROR_FILE_EXISTS when the name is taken.
    virtual int createNew(const std::wstring& path, Handle& file);
    // Writes some of the bytes, at most a gigabyte at a time.
    virtual int write(Handle file, const char* data, std::size_t size, std::size_t& written);
    // FlushFileBuffers: the file's bytes on the disk.
    virtual int sync(Handle file);
    // Windows writes a file to the disk as it grows on its own: there is nothing to ask.
    virtual int startWriteback(Handle, long long, long long) { return 0; }
    virtual int close(Handle file);
    // MoveFileExW with MOVEFILE_WRITE_THROUGH and no replacing: fails with ERROR_ALREADY_EXISTS or
    // ERROR_FILE_EXISTS when `to` is taken.
    virtual int moveNew(const std::wstring& from, const std::wstring& to);
    // Opens the file for deletion, as replacing it does, and closes it again: fails with
    // ERROR_SHARING_VIOLATION while another program holds it open without sharing it.
    virtual int mayRemove(const std::wstring& path);
    // ReplaceFileW: `replacement` takes the name of `replaced`, which keeps its attributes and security.
    virtual int replace(const std::wstring& replaced, const std::wstring& replacement);
    // SetFileAttributesW.
    virtual int setAttributes(const std::wstring& path, unsigned long attributes);
    virtual int remove(const std::wstring& path);

    static FileCalls& system();
};

} // namespace kalvian
