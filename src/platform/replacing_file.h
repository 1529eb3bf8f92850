#pragma once

#include "platform/buffered_output.h"
#include "platform/file_calls.h"
#include "platform/file_error.h"
#include "platform/placement.h"

#ifdef _WIN32
#include "platform/windows/console_interrupt.h"
#else
#include "platform/posix/interrupt_cleanup.h"
#include "platform/posix/resolved_target.h"
#endif

#include <optional>
#include <string>
#include <string_view>

namespace kalvian {

// Writes a file that takes the target's name in one step once it is complete and on the disk, or never
// appears. Every failure raises FileError and leaves what bears the target's name untouched; no temporary
// file is left behind. How the file is made and named is each system's own (posix/replacing_file.cpp,
// windows/replacing_file.cpp):
// - POSIX: a symbolic link at the target is written through and stays a link. The bytes go to a file
//   without a name in the target's folder, which vanishes with the process whatever ends it; where the file
//   system has no such files, or gives them no name, to a hidden temporary file beside the target, removed
//   on every way out, SIGINT, SIGTERM and SIGHUP included.
// - Windows: the bytes go to a hidden temporary file beside the target, named with MoveFileExW for a new
//   name, with ReplaceFileW in place of a file there, which keeps that file's attributes and security. It is
//   removed on every way out, Ctrl+C, Ctrl+Break and closing the console included.
class ReplacingFile {
public:
    // Refuses at once a target that is a folder or that the process may not write, or whose folder is
    // missing.
    explicit ReplacingFile(std::string target, FileCalls& calls = FileCalls::system());
    ~ReplacingFile();

    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void write(std::string_view bytes);

    // Flushes the file to the disk and gives it the target's name. With Placement::New it returns false,
    // changing nothing, when a file bears the name by then; commit may be called again. Where a POSIX file
    // system can neither rename without replacing nor link, the new name is first claimed by creating it
    // empty, and an empty file bears it until the complete one is renamed over it. With Placement::Replace
    // the file takes the place of the one there, keeping its permission bits and, where the process may set
    // them, its owner and group (POSIX), or its attributes and security (Windows).
    bool commit(Placement placement);

private:
    [[noreturn]] void fail(FileStep step, int systemError) const;
    void writeAll(std::string_view bytes);
    void sync();
    // The steps each system takes its own way.
    bool publishNew();
    void publishReplacing();
    void published();

    FileCalls& m_calls;
    std::string m_target; // as given, for messages
    BufferedOutput m_output;
    FileCalls::Handle m_file = FileCalls::kNoHandle; // the file being written, while it is open
    // Bytes written to the file, and how many of them the disk has been asked to take (startWriteback).
    long long m_written = 0;
    long long m_writebackAsked = 0;
    bool m_synced = false;

#ifdef _WIN32
    void checkTarget() const;
    void createTemporary();
    void closeForNaming();

    std::wstring m_path;      // the target's system path
    std::wstring m_temporary; // the file being written, while it exists
    ConsoleInterrupt m_interrupt;
#else
    int folder() const {
        return m_resolved.folder.get();
    }
    int createWatched(const std::string& name, InterruptCleanup& cleanup, int& fd);
    void createNamed();
    bool nameUnnamedTemporarily();
    void moveToNamedTemporary();
    void ensureReplaceable() const;
    void takeOverAttributes() const;
    void ensureFolderInPlace() const;
    std::optional<bool> wayGaveTheName(int systemError, bool (*missingHere)(int)) const;
    bool takeNewName();
    bool takeNameOverClaim();

    ResolvedTarget m_resolved;
    std::string m_temporary; // the name of the file being written, while it has one
    InterruptCleanup m_cleanup;
    InterruptCleanup m_claim; // the empty file claiming the target's name, for the moment it does
#endif
};

} // namespace kalvian
