#pragma once

#include "common/source_record.h"

#include <cstdint>
#include <memory>

namespace kalvian {

// Forward walk over the rows of an open invoice query, in the order the query delivers them.
class InvoiceQuery {
public:
    virtual ~InvoiceQuery() = default;

    virtual std::int64_t rowCount() const = 0;
    virtual void first() = 0;
    virtual bool eof() const = 0;
    virtual void next() = 0;
    // The current row; valid while not eof().
    virtual const SourceRecord& current() const = 0;
    // Another cursor over the same rows, walked on its own (also in another thread) while the query stays
    // as it is.
    virtual std::unique_ptr<InvoiceQuery> anotherCursor() const = 0;
};

} // namespace kalvian
