#pragma once

#include <thread>
#include <utility>

namespace kalvian {

// A thread joined when it goes out of scope, whatever way that is.
class JoiningThread {
public:
    JoiningThread() = default;
    template <class Function, class... Arguments>
    explicit JoiningThread(Function&& function, Arguments&&... arguments)
        : m_thread(std::forward<Function>(function), std::forward<Arguments>(arguments)...) {}
    ~JoiningThread() {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    JoiningThread(JoiningThread&&) = default;
    JoiningThread& operator=(JoiningThread&& other) {
        if (m_thread.joinable()) {
            m_thread.join();
        }
        m_thread = std::move(other.m_thread);
        return *this;
    }

private:
    std::thread m_thread;
};

} // namespace kalvian
