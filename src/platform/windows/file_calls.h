#pragma once

#include <cstddef>
#include <string>

namespace kalvian {

// The Windows calls an output file is written with, on whole wide paths (systemPath). Each returns what its
// namesake returns and leaves the cause in GetLastError(); tests override some of them to make a disk fill
// up or another program hold a file. A handle is the system's HANDLE.
class FileCalls {
public:
    using Handle = void*;
    static constexpr unsigned long kNoAttributes = 0xFFFFFFFF; // INVALID_FILE_ATTRIBUTES

    virtual ~FileCalls() = default;

    // GetFileAttributesW.
    virtual unsigned long attributes(const std::wstring& path);
    // A new file, for writing, that other programs may read and the interrupt handler may delete;
    // fails with ERROR_FILE_EXISTS when the name is taken. Returns null on failure.
    virtual Handle createNew(const std::wstring& path);
    virtual bool write(Handle file, const char* data, unsigned long size, unsigned long& written);
    // FlushFileBuffers: the file's bytes on the disk.
    virtual bool flush(Handle file);
    virtual bool close(Handle file);
    // MoveFileExW with MOVEFILE_WRITE_THROUGH and no replacing: fails with ERROR_ALREADY_EXISTS or
    // ERROR_FILE_EXISTS when `to` is taken.
    virtual bool moveNew(const std::wstring& from, const std::wstring& to);
    // Opens the file for deletion, as replacing it does, and closes it again: fails with
    // ERROR_SHARING_VIOLATION while another program holds it open without sharing it.
    virtual bool mayRemove(const std::wstring& path);
    // ReplaceFileW: `replacement` takes the name of `replaced`, which keeps its attributes and security.
    virtual bool replace(const std::wstring& replaced, const std::wstring& replacement);
    // SetFileAttributesW.
    virtual bool setAttributes(const std::wstring& path, unsigned long attributes);
    virtual bool remove(const std::wstring& path);

    static FileCalls& system();
};

} // namespace kalvian
