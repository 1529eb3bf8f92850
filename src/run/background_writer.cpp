#include "background_writer.h"

#include <optional>

namespace kalvian {

void BackgroundWriter::hand(std::string& lines) {
    if (!m_thread.joinable() && m_passedHere < kPassedHere) {
        m_passedHere += lines.size();
        m_sink(lines);
        lines.clear();
        return;
    }
    if (!m_thread.joinable()) {
        m_thread = std::jthread(&BackgroundWriter::passOn, this);
    }
    // Only a failure closes the queue before finish.
    if (!m_waiting.push(std::move(lines))) {
        std::rethrow_exception(m_failure);
    }
    lines = m_spare.tryPop().value_or(std::string());
}

void BackgroundWriter::finish() {
    m_waiting.close();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    if (m_failure) {
        std::rethrow_exception(m_failure);
    }
}

void BackgroundWriter::passOn() {
    while (std::optional<std::string> lines = m_waiting.pop()) {
        try {
            m_sink(*lines);
        } catch (...) {
            // Raised in the caller's thread, at its next hand-over or at finish.
            m_failure = std::current_exception();
            m_waiting.close();
            return;
        }
        lines->clear();
        m_spare.offer(std::move(*lines));
    }
}

} // namespace kalvian
