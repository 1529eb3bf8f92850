#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kalvian {

// "0" to "9" and nothing else: the digits of the export file and of typed numbers, whatever the locale.
inline bool isAsciiDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// Eight bytes at a time, the last eight overlapping the ones before: the export's amounts are read back this
// way, fourteen digits or more each.
inline bool allAsciiDigits(std::string_view text) {
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    if (text.size() < kWord) {
        return std::all_of(text.begin(), text.end(), isAsciiDigit);
    }
    const auto digitsAt = [&](std::size_t at) {
        std::uint64_t bytes = 0;
        std::memcpy(&bytes, text.data() + at, sizeof bytes);
        // A byte from "0" to "9" loses "0" without borrowing and takes 0x46 (0x7F - "9") without reaching
        // 0x80; any other byte sets its high bit in one of the two.
        return (((bytes - 0x3030303030303030u) | (bytes + 0x4646464646464646u)) & 0x8080808080808080u) == 0;
    };
    for (std::size_t at = 0; at + kWord < text.size(); at += kWord) {
        if (!digitsAt(at)) {
            return false;
        }
    }
    return digitsAt(text.size() - kWord);
}

} // namespace kalvian
