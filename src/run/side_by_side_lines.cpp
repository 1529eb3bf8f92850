#include "side_by_side_lines.h"

#include "common/joining_thread.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <utility>
#include <vector>

namespace kalvian {

namespace {

// Rows per chunk: about 75 KB of lines, few enough hand-overs between the threads.
constexpr std::size_t kChunkRows = 256;
// Room for a chunk's lines, taken once per buffer: wider than any line.
constexpr std::size_t kChunkRoom = kChunkRows * 320;
// Fewer rows are built in the calling thread: starting threads would cost more than they save.
constexpr std::size_t kSideBySideRows = 16 * kChunkRows;
// Chunks a thread may have built ahead of the caller.
constexpr std::size_t kMostAhead = 1;

// A chunk of rows' lines; no rows once a thread's cursor has passed the last row.
struct Chunk {
    std::string lines;
    std::size_t rows = 0;
    std::exception_ptr failure;
};

// What the two threads and the caller share: the chunks built, and emptied buffers to build the next ones
// in, so the same few buffers go round.
class Exchange {
public:
    // False when the caller stopped waiting for chunks.
    bool deliver(std::size_t thread, Chunk chunk) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_ready[thread].size() < kMostAhead || m_stopping; });
        if (m_stopping) {
            return false;
        }
        m_ready[thread].push_back(std::move(chunk));
        m_changed.notify_all();
        return true;
    }
    Chunk receive(std::size_t thread) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_ready[thread].empty(); });
        Chunk chunk = std::move(m_ready[thread].front());
        m_ready[thread].pop_front();
        m_changed.notify_all();
        return chunk;
    }
    std::string emptyBuffer() {
        const std::lock_guard lock(m_mutex);
        if (m_spare.empty()) {
            return {};
        }
        std::string buffer = std::move(m_spare.back());
        m_spare.pop_back();
        return buffer;
    }
    void giveBack(std::string buffer) {
        buffer.clear();
        const std::lock_guard lock(m_mutex);
        m_spare.push_back(std::move(buffer));
    }
    void stop() {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::array<std::deque<Chunk>, 2> m_ready;
    std::vector<std::string> m_spare;
    bool m_stopping = false;
};

void skip(InvoiceQuery& cursor, std::size_t rows) {
    for (std::size_t i = 0; i < rows && !cursor.eof(); ++i) {
        cursor.next();
    }
}

// Appends the lines of up to kChunkRows rows from the cursor's position on, counting them in chunk.rows.
void fillChunk(Chunk& chunk, InvoiceQuery& cursor, ClientBlocks& blocks,
               const SideBySideLines::AppendLine& appendLine) {
    chunk.lines.reserve(kChunkRoom);
    while (chunk.rows < kChunkRows && !cursor.eof()) {
        appendLine(chunk.lines, cursor.current(), blocks);
        chunk.lines += "\r\n";
        ++chunk.rows;
        cursor.next();
    }
}

// The chunks of one thread: the thread-th, then every other one, ending with a chunk of no rows or one
// that failed, which holds the lines built before the failure.
void buildChunks(std::size_t thread, InvoiceQuery& cursor, ClientBlocks& blocks,
                 const SideBySideLines::AppendLine& appendLine, Exchange& exchange) {
    Chunk chunk;
    try {
        cursor.first();
        skip(cursor, thread * kChunkRows);
        while (true) {
            chunk.lines = exchange.emptyBuffer();
            fillChunk(chunk, cursor, blocks, appendLine);
            const bool last = chunk.rows == 0;
            if (!exchange.deliver(thread, std::exchange(chunk, Chunk{})) || last) {
                return;
            }
            skip(cursor, kChunkRows);
        }
    } catch (...) {
        chunk.failure = std::current_exception();
        exchange.deliver(thread, std::move(chunk));
    }
}

} // namespace

void SideBySideLines::build(const InvoiceQuery& query, const AppendLine& appendLine, const TakeLines& take) {
    std::array<std::unique_ptr<InvoiceQuery>, 2> cursors{query.anotherCursor(), query.anotherCursor()};
    for (std::size_t i = 0; i < m_lookups.size(); ++i) {
        if (m_lookups[i] == nullptr) {
            m_lookups[i] = m_clients.anotherLookup();
            m_blocks[i] = std::make_unique<ClientBlocks>(*m_lookups[i], ClientBlocks::kDefaultBudget / 2);
        }
    }
    if (query.rowCount() <= static_cast<std::int64_t>(kSideBySideRows)) {
        // Not worth a thread: every export of a small registration among many comes here.
        InvoiceQuery& cursor = *cursors[0];
        Chunk chunk;
        for (cursor.first(); !cursor.eof();) {
            chunk.lines.clear();
            chunk.rows = 0;
            try {
                fillChunk(chunk, cursor, *m_blocks[0], appendLine);
            } catch (...) {
                take(chunk.lines, chunk.rows);
                throw;
            }
            take(chunk.lines, chunk.rows);
        }
        return;
    }
    Exchange exchange;
    std::array<JoiningThread, 2> threads;
    // Declared after the threads, so it stops them before they are joined, on every way out.
    struct Stopper {
        Exchange& exchange;
        ~Stopper() { exchange.stop(); }
    } stopper{exchange};
    for (std::size_t i = 0; i < threads.size(); ++i) {
        threads[i] = JoiningThread(buildChunks, i, std::ref(*cursors[i]), std::ref(*m_blocks[i]),
                                   std::cref(appendLine), std::ref(exchange));
    }
    for (std::size_t next = 0;; next = 1 - next) {
        Chunk chunk = exchange.receive(next);
        if (chunk.rows > 0) {
            take(chunk.lines, chunk.rows);
        }
        if (chunk.failure) {
            std::rethrow_exception(chunk.failure);
        }
        if (chunk.rows == 0) {
            return;
        }
        exchange.giveBack(std::move(chunk.lines));
    }
}

} // namespace kalvian
