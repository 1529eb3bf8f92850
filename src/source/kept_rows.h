#pragma once

#include "common/invoice_query.h"
#include "source/row_record.h"
#include "source/table.h"

#include <cstddef>
#include <span>
#include <string>

namespace kalvian {

// Rows of a table kept back to back as stored, walked forward as an invoice query. The table and the
// rows must outlive the walk.
class KeptRows : public InvoiceQuery {
public:
    KeptRows() = default;
    // queryName names the query in the message of a read past the last row.
    KeptRows(std::string queryName, const paradox::Table& table, std::span<const std::byte> rows);

    std::int64_t rowCount() const override { return static_cast<std::int64_t>(m_count); }
    void first() override { m_position = 0; }
    bool eof() const override { return m_position >= m_count; }
    void next() override { ++m_position; }
    // Raises "<query>: No current record" past the last row.
    const SourceRecord& current() const override;

private:
    std::string m_queryName;
    const paradox::Table* m_table = nullptr;
    std::span<const std::byte> m_rows;
    std::size_t m_recordSize = 0;
    std::size_t m_count = 0;
    std::size_t m_position = 0;
    mutable RowRecord m_current;
};

} // namespace kalvian
