#pragma once

#include "source/table.h"

#include <array>
#include <cstddef>
#include <span>

namespace kalvian {

// Whether a row's DATA lies in the period. A date column compares its stored bytes, which sort as the
// dates do (NULL, all zeros, before any date); time and timestamp columns compare their values.
class PeriodTest {
public:
    PeriodTest(const paradox::Table& table, const paradox::FieldInfo& column, double start, double end);

    bool operator()(std::span<const std::byte> record) const;

private:
    const paradox::Table& m_table;
    const paradox::FieldInfo& m_column;
    double m_start;
    double m_end;
    std::array<std::byte, 4> m_startKey;
    std::array<std::byte, 4> m_endKey;
};

} // namespace kalvian
