#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kalvian {

struct Utf8Char {
    char32_t codePoint = 0;
    std::size_t length = 0;
};

// The character encoded at `at`; nothing when the bytes there are no well-formed UTF-8 sequence (a stray or
// missing continuation byte, an overlong form, a surrogate, a code point beyond U+10FFFF).
std::optional<Utf8Char> decodeUtf8(std::string_view text, std::size_t at);

// The text with each byte that belongs to no well-formed sequence replaced by U+FFFD.
std::string validUtf8(std::string_view text);

// Appends the code point's UTF-8 form.
void appendUtf8(std::string& text, char32_t codePoint);

} // namespace kalvian
