#include "interrupt_cleanup.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <mutex>
#include <unistd.h>

namespace kalvian {

namespace {

constexpr int kFree = -1;
constexpr int kFilling = -2;

// Read by the signal handler: a slot counts once its folder is set, after its name.
struct Slot {
    std::atomic<int> folder{kFree};
    char name[NAME_MAX + 1] = {};
};

std::array<Slot, 16> g_slots;

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, kSignals.size()> g_previous;

void removeRegisteredFiles(int number) {
    const int savedErrno = errno;
    for (Slot& slot : g_slots) {
        const int folder = slot.folder.load(std::memory_order_acquire);
        if (folder >= 0) {
            ::unlinkat(folder, slot.name, 0);
        }
    }
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        if (kSignals[i] == number) {
            // Delivered again once this handler returns, now to whatever was there before.
            ::sigaction(number, &g_previous[i], nullptr);
            ::raise(number);
        }
    }
    errno = savedErrno;
}

// Checked at every watch, as the program may have set a handler of its own since the last one.
void installHandlers() {
    static std::mutex installing;
    const std::lock_guard lock(installing);
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        struct sigaction current {};
        ::sigaction(kSignals[i], nullptr, &current);
        if (current.sa_handler == SIG_IGN || current.sa_handler == removeRegisteredFiles) {
            continue;
        }
        g_previous[i] = current;
        struct sigaction action {};
        action.sa_handler = removeRegisteredFiles;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        ::sigaction(kSignals[i], &action, nullptr);
    }
}

} // namespace

bool InterruptCleanup::watch(int folder, const std::string& name) {
    installHandlers();
    forget();
    if (name.size() > NAME_MAX) {
        return false;
    }
    for (std::size_t i = 0; i < g_slots.size(); ++i) {
        int expected = kFree;
        if (g_slots[i].folder.compare_exchange_strong(expected, kFilling)) {
            std::memcpy(g_slots[i].name, name.c_str(), name.size() + 1);
            g_slots[i].folder.store(folder, std::memory_order_release);
            m_slot = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

void InterruptCleanup::forget() {
    if (m_slot >= 0) {
        g_slots[static_cast<std::size_t>(m_slot)].folder.store(kFree, std::memory_order_release);
        m_slot = -1;
    }
}

} // namespace kalvian
