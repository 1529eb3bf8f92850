#include "source/kept_rows.h"

#include "common/error.h"

namespace kalvian {

KeptRows::KeptRows(std::string queryName, const paradox::Table& table, std::span<const std::byte> rows)
    : m_queryName(std::move(queryName)), m_table(&table), m_rows(rows),
      m_recordSize(static_cast<std::size_t>(table.recordSize())), m_count(rows.size() / m_recordSize) {}

const SourceRecord& KeptRows::current() const {
    if (eof()) {
        throw Error(m_queryName + ": No current record");
    }
    m_current.setRecord(*m_table, m_rows.subspan(m_position * m_recordSize, m_recordSize));
    return m_current;
}

} // namespace kalvian
