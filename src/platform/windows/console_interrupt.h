#pragma once

#include <string>

namespace kalvian {

// A temporary file that Ctrl+C, Ctrl+Break, closing the console, logging off or shutting down removes
// before the process ends. The file must be open with FILE_SHARE_DELETE, so that it can be deleted while
// the writer still holds it: it goes when the process's handles close. The process then ends with
// STATUS_CONTROL_C_EXIT, the status Windows gives an interrupted console program.
class ConsoleInterrupt {
public:
    ConsoleInterrupt() = default;
    ~ConsoleInterrupt() { forget(); }

    ConsoleInterrupt(const ConsoleInterrupt&) = delete;
    ConsoleInterrupt& operator=(const ConsoleInterrupt&) = delete;

    // Watches the file at `path` (a system path), in place of the one watched before. False when too many
    // files are watched at once.
    bool watch(const std::wstring& path);
    // Stops watching; the file itself is left alone.
    void forget();

private:
    int m_slot = -1;
};

// Holds every such interruption back while it lives, for a step that must end one way or the other: the
// file taking its name (ReplaceFileW stopped halfway can leave a file of its own beside the target).
class HeldInterrupts {
public:
    HeldInterrupts();
    ~HeldInterrupts();

    HeldInterrupts(const HeldInterrupts&) = delete;
    HeldInterrupts& operator=(const HeldInterrupts&) = delete;
};

// From now on every such interruption ends the process with STATUS_CONTROL_C_EXIT, also while no file is
// watched, after `lastWord` has run (the console given back its code page).
void endOnConsoleInterrupt(void (*lastWord)());

} // namespace kalvian
