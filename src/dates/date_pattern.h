#pragma once

#include <string>

namespace kalvian {

// The fixed day, month, year layout of a date field: "dd/mm/yyyy", or "dd/mm/yy" without the century.
class DatePattern {
public:
    DatePattern(char separator, bool century) : m_separator(separator), m_century(century) {}

    // The pattern itself, e.g. "dd/mm/yyyy".
    std::string text() const;

    // A serial as day, month and year in this layout; a serial with no calendar day (the blank date
    // among them) reads as zeros, "00/00/0000".
    std::string format(double serial) const;

private:
    char m_separator = '/';
    bool m_century = true;
};

} // namespace kalvian
