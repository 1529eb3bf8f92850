#pragma once

#include <csignal>
#include <string>

namespace kalvian {

// A file this process made, which SIGINT, SIGTERM or SIGHUP removes before the process ends as the signal
// would have ended it, as long as its name still leads to it: a file that another program has put under the
// name meanwhile is not ours to remove. The handlers are installed as files are watched; a signal the process
// ignores stays ignored, and one it handles is passed on to its handler after the removal.
class InterruptCleanup {
public:
    InterruptCleanup() = default;
    ~InterruptCleanup() { forget(); }

    InterruptCleanup(const InterruptCleanup&) = delete;
    InterruptCleanup& operator=(const InterruptCleanup&) = delete;

    // Watches the file `name` in the folder's descriptor, the one open as `fd`, in place of the one watched
    // before: 0, or the cause when the file cannot be examined or too many are watched at once (EMFILE).
    int watch(int folder, const std::string& name, int fd);
    // Stops watching; the file itself is left alone.
    void forget();
    // Whether the name watched still leads to the file watched.
    bool stillThere() const;
    // Removes the file watched, if its name still leads to it, and stops watching.
    void removeNow();

private:
    int m_slot = -1;
};

// Holds SIGINT, SIGTERM and SIGHUP back from this thread while it lives, so that a file made meanwhile is
// watched before one of them can end the process; a signal that comes meanwhile is delivered at the end.
class HeldSignals {
public:
    HeldSignals();
    ~HeldSignals();

    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

private:
    sigset_t m_previous{};
};

} // namespace kalvian
