#include "vrk3/kept_rows.h"

#include "common/error.h"

namespace kalvian {

KeptRows::KeptRows(std::string queryName, const paradox::Table& table, const paradox::SelectedRows& rows,
                   std::span<const std::uint32_t> order)
    : m_queryName(std::move(queryName)), m_table(&table), m_rows(&rows), m_order(order) {}

const SourceRecord& KeptRows::current() const {
    if (eof()) {
        throw Error(m_queryName + ": No current record");
    }
    m_current.setRecord(*m_table, m_rows->record(m_order[m_position]));
    return m_current;
}

} // namespace kalvian
