#include "background_writer.h"

#include <utility>

namespace kalvian {

BackgroundWriter::~BackgroundWriter() {
    stop();
}

void BackgroundWriter::hand(std::string& lines) {
    if (!m_thread.joinable() && m_passedHere < kPassedHere) {
        m_passedHere += lines.size();
        m_sink(lines);
        lines.clear();
        return;
    }
    std::unique_lock lock(m_mutex);
    if (!m_thread.joinable()) {
        m_thread = std::thread(&BackgroundWriter::passOn, this);
    }
    m_changed.wait(lock, [&] { return m_waiting.size() < kMostWaiting || m_failure; });
    if (m_failure) {
        std::rethrow_exception(m_failure);
    }
    m_waiting.push_back(std::move(lines));
    lines.clear();
    if (!m_spare.empty()) {
        lines = std::move(m_spare.back());
        m_spare.pop_back();
    }
    m_changed.notify_all();
}

void BackgroundWriter::finish() {
    {
        std::unique_lock lock(m_mutex);
        drain(lock);
    }
    stop();
    if (m_failure) {
        std::rethrow_exception(m_failure);
    }
}

void BackgroundWriter::drain(std::unique_lock<std::mutex>& lock) {
    m_changed.wait(lock, [&] { return (m_waiting.empty() && !m_passing) || m_failure; });
}

void BackgroundWriter::stop() {
    if (!m_thread.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void BackgroundWriter::passOn() {
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [&] { return !m_waiting.empty() || m_stopping; });
        if (m_stopping) {
            return;
        }
        std::string lines = std::move(m_waiting.front());
        m_waiting.pop_front();
        m_passing = true;
        lock.unlock();
        std::exception_ptr failure;
        try {
            m_sink(lines);
        } catch (...) {
            // Raised in the caller's thread, at its next hand-over or at finish.
            failure = std::current_exception();
        }
        lock.lock();
        m_passing = false;
        lines.clear();
        m_spare.push_back(std::move(lines));
        m_failure = failure;
        m_changed.notify_all();
        if (m_failure) {
            return;
        }
    }
}

} // namespace kalvian
