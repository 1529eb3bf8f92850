#pragma once

#include "platform/buffered_output.h"
#include "platform/file_error.h"
#include "platform/placement.h"
#include "platform/posix/file_calls.h"
#include "platform/posix/interrupt_cleanup.h"
#include "platform/posix/resolved_target.h"

#include <string>
#include <string_view>

namespace kalvian {

// Writes a file that takes the target's name in one step once it is complete, or never appears. A symbolic
// link at the target is written through and stays a link. The bytes go to a file without a name in the
// target's folder, which vanishes with the process whatever ends it; where the file system has no such
// files, or gives them no name, to a hidden temporary file beside the target, removed on every way out,
// SIGINT, SIGTERM and SIGHUP included. Every failure raises FileError and leaves what bears the target's name
// untouched.
class ReplacingFile {
public:
    // Refuses at once a target that is a folder or that the process may not write.
    explicit ReplacingFile(std::string target, FileCalls& calls = FileCalls::system());
    ~ReplacingFile();

    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void write(std::string_view bytes);

    // Flushes the file to the disk, gives it the target's name and flushes the folder. With Placement::New
    // it returns false, changing nothing, when a file bears the name by then; commit may be called again.
    // Where the file system can neither rename without replacing nor link, the new name is first claimed by
    // creating it empty, and an empty file bears it until the complete one is renamed over it.
    // With Placement::Replace the file takes the place of the one there, keeping its permission bits and,
    // where the process may set them, its owner and group.
    bool commit(Placement placement);

private:
    [[noreturn]] void fail(FileStep step, int systemError) const;
    void createNamed();
    bool nameUnnamedTemporarily();
    void moveToNamedTemporary();
    void ensureReplaceable() const;
    void takeOverAttributes() const;
    void ensureFolderInPlace() const;
    bool publish(Placement placement);
    bool publishNew();
    bool publishOverClaim();
    void publishReplacing();
    void flush();
    void writeAll(std::string_view bytes);

    FileCalls& m_calls;
    std::string m_target;
    ResolvedTarget m_resolved;
    int m_fd = -1;
    std::string m_temporary; // the name of the file being written, while it has one
    InterruptCleanup m_cleanup;
    InterruptCleanup m_claim; // the empty file claiming the target's name, for the moment it does
    BufferedOutput m_output;
    // Bytes written to m_fd, and how many of them the disk has been asked to take (startWriteback).
    long long m_written = 0;
    long long m_writebackAsked = 0;
    bool m_synced = false;
};

} // namespace kalvian
