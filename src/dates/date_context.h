#pragma once

#include "common/date_serial.h"

namespace kalvian {

// What the date text rules take from outside: the regional date separator, today's date (it fills the parts
// of a date left out) and whether the year is shown with four digits.
struct DateContext {
    char separator = '/';
    CalendarDate today{};
    bool century = true;
};

} // namespace kalvian
