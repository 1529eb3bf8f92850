#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kalvian {

// Passes an export's lines on (to the file and its check) from a thread of its own, so that the next lines
// are built meanwhile. Lines are handed over a buffer at a time, and a few buffers at most wait. The first
// megabyte is passed on in the calling thread, and the thread starts only after it: for a smaller file, as
// most are when every registration of an office is exported, a thread would cost more than it saves. A
// failure to pass lines on reaches the caller at its next hand-over, or at finish().
class BackgroundWriter {
public:
    using Sink = std::function<void(const std::string& lines)>;

    explicit BackgroundWriter(Sink sink) : m_sink(std::move(sink)) {}
    // Stops the thread; what still waits, after a failure, is dropped.
    ~BackgroundWriter();

    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // Takes the lines, leaving `lines` empty to be filled again: a buffer already passed on, where there is
    // one, so that the same few buffers go round.
    void hand(std::string& lines);
    // Waits until everything handed over has been passed on, then ends the thread. Raises the first failure
    // to pass lines on.
    void finish();

private:
    static constexpr std::size_t kMostWaiting = 2;
    static constexpr std::size_t kPassedHere = 1 << 20;

    void passOn();
    // Waits, holding the lock, until no buffer waits to be passed on.
    void drain(std::unique_lock<std::mutex>& lock);
    void stop();

    Sink m_sink;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::string> m_waiting;
    std::vector<std::string> m_spare; // emptied buffers, to be filled again without allocating
    bool m_passing = false;           // a buffer is being passed on
    bool m_stopping = false;
    std::size_t m_passedHere = 0; // bytes passed on in the calling thread
    std::exception_ptr m_failure;
    std::thread m_thread;
};

} // namespace kalvian
