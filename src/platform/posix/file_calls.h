#pragma once

#include <cstddef>
#include <string>

namespace kalvian {

// The system calls an output file is written with, relative to the descriptor of its folder. Each returns
// what its POSIX namesake returns and leaves the cause in errno; tests override some of them to make a disk
// fill up or a file system lack a feature.
class FileCalls {
public:
    virtual ~FileCalls() = default;

    // Opens a folder, relative to `base` (AT_FDCWD: the current folder), for the calls below.
    virtual int openFolder(int base, const std::string& path);
    // A file without a name in the folder (O_TMPFILE), open for reading too; fails where the file system has
    // no such files.
    virtual int createUnnamed(int folder);
    // A new named file in the folder, failing with EEXIST when the name is taken.
    virtual int createNew(int folder, const std::string& name);
    virtual long write(int fd, const char* data, std::size_t size);
    // Flushes a file or a folder to the disk.
    virtual int sync(int fd);
    // Starts writing that part of a file to the disk without waiting for it (a hint that may fail).
    virtual int startWriteback(int fd, long long offset, long long length);
    virtual int close(int fd);
    // Gives a file without a name its name in the folder, failing with EEXIST when the name is taken.
    virtual int nameUnnamed(int fd, int folder, const std::string& name);
    // Renames within the folder only while `to` is absent, failing with EEXIST otherwise (RENAME_NOREPLACE,
    // which some file systems refuse).
    virtual int renameNoReplace(int folder, const std::string& from, const std::string& to);
    // A second name for a file within the folder (a hard link), failing with EEXIST when `to` is taken.
    virtual int link(int folder, const std::string& from, const std::string& to);
    // Renames within the folder, replacing what bears the name `to`.
    virtual int rename(int folder, const std::string& from, const std::string& to);
    virtual int remove(int folder, const std::string& name);

    static FileCalls& system();
};

} // namespace kalvian
