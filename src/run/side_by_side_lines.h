#pragma once

#include "common/invoice_query.h"
#include "common/source_record.h"
#include "export_format/client_blocks.h"

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace kalvian {

// Builds the lines of an export's queries on two threads. Each thread walks a cursor of its own over a
// query's rows and takes every other chunk of them, with a client lookup of its own and half the client
// blocks' budget, kept from one query to the next. A query of one chunk or less is built in the calling
// thread.
class SideBySideLines {
public:
    // Appends an invoice's line, without its CR LF, the client's block taken from `clients`.
    using AppendLine =
        std::function<void(std::string& lines, const SourceRecord& invoice, ClientBlocks& clients)>;
    // Takes the lines of `rows` rows, each ended by CR LF; it may leave another buffer in `lines`, emptied,
    // to be filled again.
    using TakeLines = std::function<void(std::string& lines, std::size_t rows)>;

    explicit SideBySideLines(const ClientLookup& clients) : m_clients(clients) {}

    // Builds the lines of every row of the query, giving them to `take` in the rows' order, in the calling
    // thread. A failure to build a line is raised here once `take` has had every line before it; a failure
    // of `take` stops the threads.
    void build(const InvoiceQuery& query, const AppendLine& appendLine, const TakeLines& take);

private:
    const ClientLookup& m_clients;
    std::array<std::unique_ptr<ClientLookup>, 2> m_lookups;
    std::array<std::unique_ptr<ClientBlocks>, 2> m_blocks;
};

} // namespace kalvian
