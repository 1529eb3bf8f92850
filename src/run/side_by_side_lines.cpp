#include "side_by_side_lines.h"

#include "run/bounded_queue.h"

#include <exception>
#include <thread>
#include <utility>

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

using ChunkQueue = BoundedQueue<Chunk>;
// Emptied buffers to build the next chunks in, so that the same few buffers go round: room for every one
// the threads hold.
using SpareBuffers = BoundedQueue<std::string>;
constexpr std::size_t kSpareBuffers = 2 * (kMostAhead + 1);

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
                 const SideBySideLines::AppendLine& appendLine, ChunkQueue& built, SpareBuffers& spare) {
    Chunk chunk;
    try {
        cursor.first();
        skip(cursor, thread * kChunkRows);
        while (true) {
            chunk.lines = spare.tryPop().value_or(std::string());
            fillChunk(chunk, cursor, blocks, appendLine);
            const bool last = chunk.rows == 0;
            // Refused once the caller stopped taking chunks.
            if (!built.push(std::exchange(chunk, Chunk{})) || last) {
                return;
            }
            skip(cursor, kChunkRows);
        }
    } catch (...) {
        chunk.failure = std::current_exception();
        built.push(std::move(chunk));
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
    std::array<ChunkQueue, 2> built{ChunkQueue(kMostAhead), ChunkQueue(kMostAhead)};
    SpareBuffers spare(kSpareBuffers);
    std::array<std::jthread, 2> threads;
    // Declared after the threads, so it stops them before they are joined, on every way out.
    struct Stopper {
        std::array<ChunkQueue, 2>& built;
        ~Stopper() {
            for (ChunkQueue& queue : built) {
                queue.close();
            }
        }
    } stopper{built};
    for (std::size_t i = 0; i < threads.size(); ++i) {
        threads[i] = std::jthread(buildChunks, i, std::ref(*cursors[i]), std::ref(*m_blocks[i]),
                                  std::cref(appendLine), std::ref(built[i]), std::ref(spare));
    }
    // Each thread ends with a chunk of no rows or a failed one, so a chunk always comes.
    for (std::size_t next = 0;; next = 1 - next) {
        Chunk chunk = *built[next].pop();
        if (chunk.rows > 0) {
            take(chunk.lines, chunk.rows);
        }
        if (chunk.failure) {
            std::rethrow_exception(chunk.failure);
        }
        if (chunk.rows == 0) {
            return;
        }
        chunk.lines.clear();
        spare.offer(std::move(chunk.lines));
    }
}

} // namespace kalvian
