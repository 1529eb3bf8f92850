#pragma once

#include <optional>

namespace kalvian {

// A date serial counts whole days from 30/12/1899 (day 0). -693594.0 is the day before 01/01/0001 and stands
// for "no date" wherever a date is held.
inline constexpr double kBlankDate = -693594.0;

// A date serial that says so, where a plain number could be anything.
struct DateSerial {
    double serial = 0;

    friend bool operator==(const DateSerial&, const DateSerial&) = default;
};

// Whole days from `start` to `end`, both included.
struct Period {
    DateSerial start;
    DateSerial end;
};

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;

    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

bool isLeapYear(int year);

// Days of the month in the Gregorian calendar; 0 for a month outside 1..12.
int daysInMonth(int month, int year);

// True for a real day between 01/01/0001 and 31/12/9999.
bool isValidDate(const CalendarDate& date);

// The serial of a valid calendar date.
double toSerial(const CalendarDate& date);

// The calendar day of a serial. A fraction is the time of day counted forward from the day's start, also
// before day 0 (-0.25 is 29/12/1899 18:00), so the day is the serial rounded down. Nothing for the blank
// date or a serial outside 01/01/0001..31/12/9999.
std::optional<CalendarDate> fromSerial(double serial);

} // namespace kalvian
