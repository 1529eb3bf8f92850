#include "vrk3/record_cursor.h"

#include "common/error.h"

namespace kalvian {

RecordCursor::RecordCursor(std::string queryName, const paradox::Table& table, const paradox::RecordSet& rows,
                           std::span<const std::uint32_t> order)
    : m_queryName(std::move(queryName)), m_rows(&rows), m_order(order), m_current(table) {}

const SourceRecord& RecordCursor::current() const {
    if (eof()) {
        throw Error(m_queryName + ": No current record");
    }
    m_current.setRecord(m_rows->record(m_order[m_position]));
    return m_current;
}

std::unique_ptr<InvoiceQuery> RecordCursor::anotherCursor() const {
    return std::make_unique<RecordCursor>(*this);
}

} // namespace kalvian
