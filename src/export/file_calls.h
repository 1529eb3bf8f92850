#pragma once

#include <cstddef>
#include <string>

namespace kalvian {

// The system calls the export file is written with. Each returns what its POSIX namesake returns and leaves
// the cause in errno; tests override some of them to make a disk fill up or a rename fail.
class FileCalls {
public:
    virtual ~FileCalls() = default;

    // Creates a new file, failing with EEXIST when one is there; returns the descriptor or -1.
    virtual int createNew(const std::string& path);
    virtual long write(int fd, const char* data, std::size_t size);
    virtual int sync(int fd);
    virtual int close(int fd);
    virtual int rename(const std::string& from, const std::string& to);
    virtual int remove(const std::string& path);

    static FileCalls& system();
};

} // namespace kalvian
