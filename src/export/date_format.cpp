#include "date_format.h"

#include "common/date_serial.h"

#include <cstdio>

namespace kalvian {

std::string formatDate(double serial, char separator) {
    const CalendarDate date = fromSerial(serial).value_or(CalendarDate{});
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d%c%02d%c%04d", date.day, separator, date.month, separator,
                  date.year);
    return buffer;
}

} // namespace kalvian
