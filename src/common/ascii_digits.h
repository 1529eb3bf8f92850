#pragma once

#include <algorithm>
#include <string_view>

namespace kalvian {

// "0" to "9" and nothing else: the digits of the export file and of typed numbers, whatever the locale.
inline bool isAsciiDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

inline bool allAsciiDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), isAsciiDigit);
}

} // namespace kalvian
