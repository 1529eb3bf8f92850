#pragma once

#include "common/invoice_query.h"
#include "paradox/table.h"
#include "vrk3/row_record.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kalvian {

// A cursor over the records a table's reading kept, walked forward in a given order as an invoice query. The
// table and the rows must outlive the walk.
class RecordCursor : public InvoiceQuery {
public:
    RecordCursor() = default;
    // queryName names the query in the message of a read past the last row; order lists the rows to walk
    // by their index among the kept ones.
    RecordCursor(std::string queryName, const paradox::Table& table, const paradox::RecordSet& rows,
                 std::span<const std::uint32_t> order);

    std::int64_t rowCount() const override { return static_cast<std::int64_t>(m_order.size()); }
    void first() override { m_position = 0; }
    bool eof() const override { return m_position >= m_order.size(); }
    void next() override { ++m_position; }
    // Raises "<query>: No current record" past the last row.
    const SourceRecord& current() const override;
    std::unique_ptr<InvoiceQuery> anotherCursor() const override;

private:
    std::string m_queryName;
    const paradox::RecordSet* m_rows = nullptr;
    std::span<const std::uint32_t> m_order;
    std::size_t m_position = 0;
    mutable RowRecord m_current;
};

} // namespace kalvian
