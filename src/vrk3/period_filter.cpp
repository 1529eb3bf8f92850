#include "period_filter.h"

#include "paradox/field_decoders.h"
#include "vrk3/row_record.h"

#include <cmath>

namespace kalvian {

PeriodFilter::PeriodFilter(const paradox::Table& table, const paradox::FieldInfo& column, Period period)
    : m_table(table), m_column(column), m_storedDates(column.type == paradox::FieldType::Date),
      m_period(period), m_startWord(bigEndianWord(paradox::encodeDateKey(period.start.serial).data())),
      m_endWord(bigEndianWord(paradox::encodeDateKey(period.end.serial).data())) {}

bool PeriodFilter::valueInPeriod(std::span<const std::byte> record) const {
    const FieldValue value = decodeValue(m_table, record, m_column);
    const auto* date = std::get_if<DateSerial>(&value);
    if (date == nullptr) {
        return false;
    }
    // The period holds whole days: a time or timestamp is in it when its day is, whatever its time.
    const double day = std::floor(date->serial);
    return day >= m_period.start.serial && day <= m_period.end.serial;
}

} // namespace kalvian
