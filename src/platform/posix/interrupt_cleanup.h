#pragma once

#include <string>

namespace kalvian {

// A named temporary file that SIGINT, SIGTERM or SIGHUP removes before the process ends as the signal would
// have ended it. The handlers are installed as files are watched; a signal the process ignores stays
// ignored, and one it handles is passed on to its handler after the removal.
class InterruptCleanup {
public:
    InterruptCleanup() = default;
    ~InterruptCleanup() { forget(); }

    InterruptCleanup(const InterruptCleanup&) = delete;
    InterruptCleanup& operator=(const InterruptCleanup&) = delete;

    // Watches the file `name` in the folder's descriptor, in place of the one watched before. False when
    // too many files are watched at once.
    bool watch(int folder, const std::string& name);
    // Stops watching; the file itself is left alone.
    void forget();

private:
    int m_slot = -1;
};

} // namespace kalvian
