#pragma once

#include <cerrno>
#include <cstddef>
#include <string>
#include <sys/stat.h>

namespace kalvian {

// The system calls an output file is written with, relative to the descriptor of its folder. Each returns 0
// when it succeeded, and otherwise the cause (an errno value); what a call gives back goes into its last
// arguments. Tests override some of them to make a disk fill up or a file system lack a feature.
class FileCalls {
public:
    using Handle = int; // a descriptor
    static constexpr Handle kNoHandle = -1;
    static constexpr int kDiskFull = ENOSPC;

    virtual ~FileCalls() = default;

    // Opens a folder, relative to `base` (AT_FDCWD: the current folder), for the calls below.
    virtual int openFolder(int base, const std::string& path, int& folder);
    // What bears the name in the folder: a symbolic link itself, not where it leads.
    virtual int status(int folder, const std::string& name, struct stat& info);
    virtual int openStatus(int fd, struct stat& info);
    // What the path leads to.
    virtual int pathStatus(const std::string& path, struct stat& info);
    virtual int readLink(int folder, const std::string& name, std::string& target);
    // Whether this process may write the file under the name, as writing it in place would find.
    virtual int mayWrite(int folder, const std::string& name);
    // A file without a name in the folder (O_TMPFILE), open for reading too; fails where the file system has
    // no such files.
    virtual int createUnnamed(int folder, int& fd);
    // A new named file in the folder, failing with EEXIST when the name is taken.
    virtual int createNew(int folder, const std::string& name, int& fd);
    // Writes some of the bytes, at least one unless it fails; an interrupted write is written again.
    virtual int write(int fd, const char* data, std::size_t size, std::size_t& written);
    // Reads from that place in the file; none at its end.
    virtual int readAt(int fd, long long offset, char* data, std::size_t size, std::size_t& got);
    // Flushes a file or a folder to the disk.
    virtual int sync(int fd);
    // Starts writing that part of a file to the disk without waiting for it (a hint that may fail).
    virtual int startWriteback(int fd, long long offset, long long length);
    virtual int setOwner(int fd, uid_t owner, gid_t group);
    virtual int setPermissionBits(int fd, mode_t bits);
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
