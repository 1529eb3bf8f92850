#include "dates/date_text.h"

#include "common/ascii_digits.h"
#include "dates/date_pattern.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace kalvian {

namespace {

// The last two characters of "00" and the piece: "" -> "00", "5" -> "05", "123" -> "23".
std::string twoDigitPart(const std::string& piece) {
    const std::string padded = "00" + piece;
    return padded.substr(padded.size() - 2);
}

std::string fourDigitYear(const std::string& piece, int todayYear) {
    if (piece.empty()) {
        return "0000";
    }
    if (piece.size() >= 4) {
        return piece;
    }
    return std::to_string(todayYear).substr(0, 4 - piece.size()) + piece;
}

// The number in characters [from, from + length) of the text, spaces dropped; 0 when nothing is left.
int numberAt(std::string_view text, std::size_t from, std::size_t length) {
    if (from >= text.size()) {
        return 0;
    }
    std::string piece(text.substr(from, length));
    piece.erase(std::remove(piece.begin(), piece.end(), ' '), piece.end());
    int value = 0;
    std::from_chars(piece.data(), piece.data() + piece.size(), value);
    return value;
}

} // namespace

std::string NormalizeText(std::string_view text, const DateContext& context) {
    const char sep = context.separator;
    std::string kept;
    std::copy_if(text.begin(), text.end(), std::back_inserter(kept),
                 [sep](char ch) { return isAsciiDigit(ch) || ch == sep; });
    kept += sep;
    kept += sep;

    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t at = kept.find(sep); pieces.size() < 3; at = kept.find(sep, start)) {
        pieces.push_back(kept.substr(start, at - start));
        start = at + 1;
    }
    return twoDigitPart(pieces[0]) + sep + twoDigitPart(pieces[1]) + sep +
           fourDigitYear(pieces[2], context.today.year);
}

CalendarDate DecodeText(std::string_view normalized) {
    return {numberAt(normalized, 6, 4), numberAt(normalized, 3, 2), numberAt(normalized, 0, 2)};
}

bool IsBlankText(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char ch) { return ch >= '1' && ch <= '9'; });
}

int MonthLength(int month, int year) {
    return daysInMonth(month, year);
}

bool IsValidText(std::string_view normalized) {
    const CalendarDate date = DecodeText(normalized);
    return date.day >= 1 && date.month >= 1 && date.month <= 12 &&
           date.day <= MonthLength(date.month, date.year) && date.year != 0;
}

double TextToDate(std::string_view normalized) {
    if (IsBlankText(normalized) || !IsValidText(normalized)) {
        return kBlankDate;
    }
    return toSerial(DecodeText(normalized));
}

std::string CompleteText(std::string_view normalized, const DateContext& context) {
    CalendarDate date = DecodeText(normalized);
    if (date.year == 0) {
        date.year = context.today.year;
    }
    if (date.month == 0) {
        date.month = context.today.month;
    }
    date.month = std::min(date.month, 12);
    if (date.day == 0) {
        date.day = context.today.day;
    }
    date.day = std::min(date.day, MonthLength(date.month, date.year));
    return DatePattern(context.separator, context.century).format(toSerial(date));
}

} // namespace kalvian
