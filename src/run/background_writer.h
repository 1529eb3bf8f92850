#pragma once

#include "run/bounded_queue.h"

#include <cstddef>
#include <exception>
#include <functional>
#include <string>
#include <thread>

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
    // Ends the thread once it has passed on what waits, unless passing on failed.
    ~BackgroundWriter() { m_waiting.close(); }

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

    Sink m_sink;
    BoundedQueue<std::string> m_waiting{kMostWaiting};
    BoundedQueue<std::string> m_spare{kMostWaiting + 1}; // emptied buffers, to be filled again
    std::size_t m_passedHere = 0;                        // bytes passed on in the calling thread
    std::exception_ptr m_failure; // set by the thread before it closes m_waiting, and read after
    std::jthread m_thread;        // last: joined before the rest goes
};

} // namespace kalvian
