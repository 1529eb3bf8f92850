#pragma once

#include <algorithm>
#include <string_view>

namespace kalvian {

// Field and file names compare without regard to the case of their ASCII letters, as the database engine
// and Windows compare them; other bytes compare as they are.
inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const auto upper = [](char ch) {
        return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return upper(x) == upper(y); });
}

} // namespace kalvian
