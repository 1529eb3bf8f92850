#pragma once

#include "common/date_serial.h"

#include <string>
#include <string_view>

namespace kalvian {

// A date given on the command line, or why it is none (a message naming the option).
struct DateArgument {
    double date = kBlankDate;
    std::string error;
};

// Exactly day/month/year: a day and a month of one or two digits, a year of two or four, nothing else. A
// two-digit year takes its century from today, as the date field completes it.
DateArgument readDateArgument(std::string_view text, std::string_view option, CalendarDate today);

} // namespace kalvian
