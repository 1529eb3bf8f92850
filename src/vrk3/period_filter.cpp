#include "period_filter.h"

#include "paradox/field_decoders.h"
#include "vrk3/row_record.h"

#include <cmath>

namespace kalvian {

PeriodFilter::PeriodFilter(const paradox::Table& table, const paradox::FieldInfo& column, double start,
                           double end)
    : m_table(table), m_column(column), m_storedDates(column.type == paradox::FieldType::Date),
      m_start(start), m_end(end), m_startWord(bigEndianWord(paradox::encodeDateKey(start).data())),
      m_endWord(bigEndianWord(paradox::encodeDateKey(end).data())) {}

bool PeriodFilter::valueInPeriod(std::span<const std::byte> record) const {
    const FieldValue value = decodeValue(m_table, record, m_column);
    const auto* date = std::get_if<DateSerial>(&value);
    if (date == nullptr) {
        return false;
    }
    // The period holds whole days: a time or timestamp is in it when its day is, whatever its time.
    const double day = std::floor(date->serial);
    return day >= m_start && day <= m_end;
}

} // namespace kalvian
