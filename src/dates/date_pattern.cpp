#include "dates/date_pattern.h"

#include "common/date_serial.h"

namespace kalvian {

namespace {

std::string zeroPadded(int value, std::size_t width) {
    std::string digits = std::to_string(value);
    return digits.size() < width ? std::string(width - digits.size(), '0') + digits : digits;
}

} // namespace

std::string DatePattern::text() const {
    return std::string("dd") + m_separator + "mm" + m_separator + (m_century ? "yyyy" : "yy");
}

std::string DatePattern::format(double serial) const {
    const CalendarDate date = fromSerial(serial).value_or(CalendarDate{});
    const std::string year = m_century ? zeroPadded(date.year, 4) : zeroPadded(date.year % 100, 2);
    return zeroPadded(date.day, 2) + m_separator + zeroPadded(date.month, 2) + m_separator + year;
}

} // namespace kalvian
