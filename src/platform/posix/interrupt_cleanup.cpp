#include "interrupt_cleanup.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <mutex>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvian {

namespace {

constexpr int kFree = -1;
constexpr int kFilling = -2;

// Read by the signal handler: a slot counts once its folder is set, after its name and the file's identity.
struct Slot {
    std::atomic<int> folder{kFree};
    char name[NAME_MAX + 1] = {};
    dev_t device = 0;
    ino_t inode = 0;
};

std::array<Slot, 16> g_slots;

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, kSignals.size()> g_previous;

// Both only make calls a signal handler may make.
bool isThere(int folder, const Slot& slot) {
    struct stat info {};
    return ::fstatat(folder, slot.name, &info, AT_SYMLINK_NOFOLLOW) == 0 && info.st_dev == slot.device &&
           info.st_ino == slot.inode;
}

void removeIfStillThere(int folder, const Slot& slot) {
    if (isThere(folder, slot)) {
        ::unlinkat(folder, slot.name, 0);
    }
}

void removeRegisteredFiles(int number) {
    const int savedErrno = errno;
    for (const Slot& slot : g_slots) {
        const int folder = slot.folder.load(std::memory_order_acquire);
        if (folder >= 0) {
            removeIfStillThere(folder, slot);
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

int InterruptCleanup::watch(int folder, const std::string& name, int fd) {
    installHandlers();
    forget();
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return errno;
    }
    if (name.size() > NAME_MAX) {
        return ENAMETOOLONG;
    }
    for (std::size_t i = 0; i < g_slots.size(); ++i) {
        Slot& slot = g_slots[i];
        int expected = kFree;
        if (slot.folder.compare_exchange_strong(expected, kFilling)) {
            std::memcpy(slot.name, name.c_str(), name.size() + 1);
            slot.device = info.st_dev;
            slot.inode = info.st_ino;
            slot.folder.store(folder, std::memory_order_release);
            m_slot = static_cast<int>(i);
            return 0;
        }
    }
    return EMFILE;
}

bool InterruptCleanup::stillThere() const {
    if (m_slot < 0) {
        return false;
    }
    const Slot& slot = g_slots[static_cast<std::size_t>(m_slot)];
    return isThere(slot.folder.load(std::memory_order_acquire), slot);
}

void InterruptCleanup::removeNow() {
    if (m_slot >= 0) {
        const Slot& slot = g_slots[static_cast<std::size_t>(m_slot)];
        removeIfStillThere(slot.folder.load(std::memory_order_acquire), slot);
        forget();
    }
}

void InterruptCleanup::forget() {
    if (m_slot >= 0) {
        g_slots[static_cast<std::size_t>(m_slot)].folder.store(kFree, std::memory_order_release);
        m_slot = -1;
    }
}

HeldSignals::HeldSignals() {
    sigset_t held;
    sigemptyset(&held);
    for (const int number : kSignals) {
        sigaddset(&held, number);
    }
    ::pthread_sigmask(SIG_BLOCK, &held, &m_previous);
}

HeldSignals::~HeldSignals() {
    ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}

} // namespace kalvian
