#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

namespace kalvian {

// Hands items over between threads in the order they come, at most `capacity` of them waiting: a push waits
// for room, a pop for an item. Closing it ends every wait: a push then drops its item, and a pop takes what
// still waits before it finds nothing.
template <class T> class BoundedQueue {
public:
    explicit BoundedQueue(std::size_t capacity) : m_capacity(capacity) {}

    // False, the item dropped, once the queue is closed.
    bool push(T item) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_items.size() < m_capacity || m_closed; });
        return add(std::move(item));
    }
    // Adds the item without waiting, or drops it when the queue is full: for a pool of spare buffers.
    void offer(T item) {
        const std::lock_guard lock(m_mutex);
        if (m_items.size() < m_capacity) {
            add(std::move(item));
        }
    }
    // Nothing once the queue is closed and empty.
    std::optional<T> pop() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_items.empty() || m_closed; });
        return take();
    }
    // An item that waits, without waiting for one.
    std::optional<T> tryPop() {
        const std::lock_guard lock(m_mutex);
        return take();
    }
    void close() {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
        m_changed.notify_all();
    }

private:
    bool add(T item) {
        if (m_closed) {
            return false;
        }
        m_items.push_back(std::move(item));
        m_changed.notify_all();
        return true;
    }
    std::optional<T> take() {
        if (m_items.empty()) {
            return std::nullopt;
        }
        std::optional<T> item(std::move(m_items.front()));
        m_items.pop_front();
        m_changed.notify_all();
        return item;
    }

    const std::size_t m_capacity;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<T> m_items;
    bool m_closed = false;
};

} // namespace kalvian
