#pragma once

#include "common/date_serial.h"
#include "dates/date_context.h"

#include <string>
#include <string_view>

namespace kalvian {

// The rules that turn what was typed into a date field into a date. A "normalised" text is the output of
// NormalizeText: two-digit day, separator, two-digit month, separator, a year of four or more digits.

// Reduces any text to day, separator, month, separator and a year of at least four digits; a short year
// takes its leading digits from today's year (no pivot year: in 2008, "95" is 2095).
std::string NormalizeText(std::string_view text, const DateContext& context);

// Day, month and year of a normalised text, read from their fixed places; the year from its first four
// characters. An empty part reads as 0. The result need not be a real date.
CalendarDate DecodeText(std::string_view normalized);

// True when the text has no digit from 1 to 9.
bool IsBlankText(std::string_view text);

int MonthLength(int month, int year);

bool IsValidText(std::string_view normalized);

// The serial of a normalised text, or the blank date when it is blank or no real date.
double TextToDate(std::string_view normalized);

// Fills the parts of a normalised text that are zero from today's date and pulls a day or month past its
// end back to the last one, then writes it in the field's pattern.
std::string CompleteText(std::string_view normalized, const DateContext& context);

} // namespace kalvian
