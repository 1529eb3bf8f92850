#include "source/mapped_file.h"

#include <atomic>
#include <csetjmp>
#include <csignal>
#include <cstring>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace kalvian::paradox {

namespace {

// Copying this much hands the map's pages back: they stay in the page cache, only our mapping of them goes.
constexpr std::size_t kReleaseBytes = 16u << 20;

// The copy in progress on this thread, for the SIGBUS handler. Plain data only: a signal handler may read
// it without any initialisation running.
struct CopyGuard {
    sigjmp_buf resume;
    std::uintptr_t first = 0; // the pages the copy reads from, rounded out to whole pages
    std::uintptr_t last = 0;
    volatile std::sig_atomic_t active = 0;
};

thread_local CopyGuard t_guard;
struct sigaction g_previousAction {};

void onBusError(int signal, siginfo_t* info, void* context) {
    CopyGuard& guard = t_guard;
    const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
    if (guard.active != 0 && at >= guard.first && at < guard.last) {
        guard.active = 0;
        siglongjmp(guard.resume, 1);
    }
    // Not one of our copies: whatever would have happened without this handler.
    if ((g_previousAction.sa_flags & SA_SIGINFO) != 0) {
        g_previousAction.sa_sigaction(signal, info, context);
    } else if (g_previousAction.sa_handler != SIG_DFL && g_previousAction.sa_handler != SIG_IGN) {
        g_previousAction.sa_handler(signal);
    } else {
        // The faulting access runs again on return and meets the default action.
        ::sigaction(SIGBUS, &g_previousAction, nullptr);
    }
}

void installHandler() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        // SA_NODEFER: leaving the handler by siglongjmp must not leave SIGBUS blocked, and sigsetjmp does not
        // save the mask (saving it would cost a system call per copy).
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &g_previousAction);
    });
}

bool guardedCopy(std::byte* to, const std::byte* from, std::size_t count) {
    static const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    CopyGuard& guard = t_guard;
    guard.first = reinterpret_cast<std::uintptr_t>(from) / pageSize * pageSize;
    guard.last = (reinterpret_cast<std::uintptr_t>(from) + count + pageSize - 1) / pageSize * pageSize;
    if (sigsetjmp(guard.resume, 0) != 0) {
        return false;
    }
    guard.active = 1;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    std::memcpy(to, from, count);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    guard.active = 0;
    return true;
}

} // namespace

MappedFile::MappedFile(int fd, std::uint64_t size) {
    if (size == 0 || size > SIZE_MAX) {
        return;
    }
    void* data = ::mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        return;
    }
    installHandler();
    m_data = static_cast<const std::byte*>(data);
    m_size = static_cast<std::size_t>(size);
}

MappedFile::~MappedFile() {
    if (m_data != nullptr) {
        ::munmap(const_cast<std::byte*>(m_data), m_size);
    }
}

bool MappedFile::copy(std::uint64_t offset, std::span<std::byte> out) const {
    if (!guardedCopy(out.data(), m_data + offset, out.size())) {
        return false;
    }
    m_copiedSinceRelease += out.size();
    if (m_copiedSinceRelease >= kReleaseBytes) {
        ::madvise(const_cast<std::byte*>(m_data), m_size, MADV_DONTNEED);
        m_copiedSinceRelease = 0;
    }
    return true;
}

} // namespace kalvian::paradox
