#include "platform/windows/console_interrupt.h"

#include <windows.h>
#include <array>
#include <atomic>
#include <cstring>
#include <mutex>

namespace kalvian {

namespace {

constexpr int kFree = 0;
constexpr int kFilling = 1;
constexpr int kWatched = 2;
constexpr std::size_t kLongestPath = 32768;

// Read by the handler, which Windows runs on a thread of its own: a slot counts once its path is written.
struct Slot {
    std::atomic<int> state{kFree};
    wchar_t path[kLongestPath] = {};
};

std::array<Slot, 16> g_slots;
std::atomic<void (*)()> g_lastWord{nullptr};
// Held while a file takes its name: an interruption then waits for the name to be taken or not.
std::mutex g_naming;

// Ended here rather than by the system's own handler, which some systems (Wine) end with status 0: a batch
// file must not take an interrupted export for a finished one. Ended at once, not through ExitProcess,
// whose clean-up would wait for locks the interrupted threads may hold.
BOOL WINAPI removeWatchedFilesAndEnd(DWORD) {
    g_naming.lock(); // never given back: the process ends below
    for (Slot& slot : g_slots) {
        if (slot.state.load(std::memory_order_acquire) == kWatched) {
            ::DeleteFileW(slot.path);
        }
    }
    if (void (*lastWord)() = g_lastWord.load()) {
        lastWord();
    }
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(STATUS_CONTROL_C_EXIT));
    return TRUE;
}

void installHandler() {
    static std::once_flag installed;
    std::call_once(installed, [] { ::SetConsoleCtrlHandler(removeWatchedFilesAndEnd, TRUE); });
}

} // namespace

bool ConsoleInterrupt::watch(const std::wstring& path) {
    installHandler();
    forget();
    if (path.size() >= kLongestPath) {
        return false;
    }
    for (std::size_t i = 0; i < g_slots.size(); ++i) {
        int expected = kFree;
        if (g_slots[i].state.compare_exchange_strong(expected, kFilling)) {
            std::memcpy(g_slots[i].path, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
            g_slots[i].state.store(kWatched, std::memory_order_release);
            m_slot = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

HeldInterrupts::HeldInterrupts() {
    g_naming.lock();
}

HeldInterrupts::~HeldInterrupts() {
    g_naming.unlock();
}

void endOnConsoleInterrupt(void (*lastWord)()) {
    g_lastWord.store(lastWord);
    installHandler();
}

void ConsoleInterrupt::forget() {
    if (m_slot >= 0) {
        g_slots[static_cast<std::size_t>(m_slot)].state.store(kFree, std::memory_order_release);
        m_slot = -1;
    }
}

} // namespace kalvian
