#include "date_serial.h"

namespace kalvian {

namespace {

// Day counts relative to 01/01/1970 (proleptic Gregorian), after H. Hinnant's civil-date algorithms.
long long daysFromCivil(int year, int month, int day) {
    const long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yearOfEra = y - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CalendarDate civilFromDays(long long days) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

constexpr long long kUnixDayOfSerialZero = -25569; // 30/12/1899
const double kFirstSerial = -693593.0;             // 01/01/0001
const double kLastSerial = 2958465.0;              // 31/12/9999

} // namespace

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int month, int year) {
    static constexpr int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    return month == 2 && isLeapYear(year) ? 29 : kLengths[month - 1];
}

bool isValidDate(const CalendarDate& date) {
    return date.year >= 1 && date.year <= 9999 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= daysInMonth(date.month, date.year);
}

double toSerial(const CalendarDate& date) {
    return static_cast<double>(daysFromCivil(date.year, date.month, date.day) - kUnixDayOfSerialZero);
}

std::optional<CalendarDate> fromSerial(double serial) {
    // The day is the serial rounded down: 29/12/1899 12:00 is -0.5, which is still 29/12/1899. Compared
    // before it is rounded, so that NaN and the infinities fall out too and the rounding needs no call.
    if (!(serial >= kFirstSerial && serial < kLastSerial + 1)) {
        return std::nullopt;
    }
    auto whole = static_cast<long long>(serial);
    if (static_cast<double>(whole) > serial) {
        --whole;
    }
    return civilFromDays(whole + kUnixDayOfSerialZero);
}

} // namespace kalvian
