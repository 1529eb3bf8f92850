#pragma once

#include "platform/buffered_output.h"
#include "platform/file_error.h"
#include "platform/placement.h"
#include "platform/windows/console_interrupt.h"
#include "platform/windows/file_calls.h"

#include <string>
#include <string_view>

namespace kalvian {

// Writes a file that takes the target's name in one step once it is complete, or never appears. The bytes
// go to a hidden temporary file beside the target, flushed to the disk before it takes the name: with
// MoveFileExW for a new name, with ReplaceFileW in place of a file there, which keeps that file's attributes
// and security. The temporary file is removed on every way out, Ctrl+C, Ctrl+Break and closing the console
// included. Every failure raises FileError and leaves what bears the target's name untouched.
class ReplacingFile {
public:
    // Refuses at once a target that is a folder or a read-only file, or whose folder is missing.
    explicit ReplacingFile(std::string target, FileCalls& calls = FileCalls::system());
    ~ReplacingFile();

    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void write(std::string_view bytes);

    // Flushes the file to the disk and gives it the target's name. With Placement::New it returns false,
    // changing nothing, when a file bears the name by then; commit may be called again. With
    // Placement::Replace the file takes the place of the one there.
    bool commit(Placement placement);

private:
    [[noreturn]] void fail(FileStep step, unsigned long systemError) const;
    void checkTarget() const;
    void createTemporary();
    void flush();
    void writeAll(std::string_view bytes);
    bool publish(Placement placement);

    FileCalls& m_calls;
    std::string m_target;     // as given, for messages
    std::wstring m_path;      // the target's system path
    std::wstring m_temporary; // the file being written, while it exists
    FileCalls::Handle m_file = nullptr;
    ConsoleInterrupt m_interrupt;
    BufferedOutput m_output;
    bool m_synced = false;
};

} // namespace kalvian
