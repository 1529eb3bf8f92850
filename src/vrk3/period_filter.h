#pragma once

#include "common/date_serial.h"
#include "paradox/table.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace kalvian {

// Whether a row's DATA lies in the period. A date column compares its stored bytes, which sort as the
// dates do (NULL, all zeros, before any date); time and timestamp columns compare the day of their value.
// The period's dates must be real days or the blank date.
class PeriodFilter {
public:
    PeriodFilter(const paradox::Table& table, const paradox::FieldInfo& column, Period period);

    bool operator()(std::span<const std::byte> record) const {
        if (!m_storedDates) {
            return valueInPeriod(record);
        }
        const std::uint32_t stored = bigEndianWord(record.data() + m_column.offset);
        return stored >= m_startWord && stored <= m_endWord;
    }

private:
    static std::uint32_t bigEndianWord(const std::byte* bytes) {
        return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
               static_cast<std::uint32_t>(bytes[2]) << 8 | static_cast<std::uint32_t>(bytes[3]);
    }
    bool valueInPeriod(std::span<const std::byte> record) const;

    const paradox::Table& m_table;
    const paradox::FieldInfo& m_column;
    bool m_storedDates;
    Period m_period;
    std::uint32_t m_startWord;
    std::uint32_t m_endWord;
};

} // namespace kalvian
