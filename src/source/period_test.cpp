#include "period_test.h"

#include "source/field_value.h"
#include "source/row_record.h"

#include <cstring>

namespace kalvian {

using paradox::FieldType;

PeriodTest::PeriodTest(const paradox::Table& table, const paradox::FieldInfo& column, double start,
                       double end)
    : m_table(table), m_column(column), m_start(start), m_end(end), m_startKey(paradox::encodeDateKey(start)),
      m_endKey(paradox::encodeDateKey(end)) {}

bool PeriodTest::operator()(std::span<const std::byte> record) const {
    if (m_column.type == FieldType::Date) {
        const std::byte* stored = record.data() + m_column.offset;
        return std::memcmp(stored, m_startKey.data(), m_startKey.size()) >= 0 &&
               std::memcmp(stored, m_endKey.data(), m_endKey.size()) <= 0;
    }
    const FieldValue value = decodeValue(m_table, record, m_column);
    const auto* date = std::get_if<DateSerial>(&value);
    return date != nullptr && date->serial >= m_start && date->serial <= m_end;
}

} // namespace kalvian
