#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <string_view>

namespace kalvian {

// A fixed-width field of text, as the export lines hold them: the value's blanks and control characters
// (byte codes 32 and below) dropped at both ends, its first `width` bytes kept, the rest of the width filled
// in front (right-justified) or behind (left-justified).
enum class Justify { Left, Right };

struct KeptText {
    std::size_t start = 0;
    std::size_t length = 0;
};

// The bytes of a value of `length` bytes that such a field keeps; byteAt(i) gives the value's i-th byte. In
// line: every field of every export line passes here.
template <class ByteAt> KeptText keptText(std::size_t length, std::size_t width, ByteAt byteAt) {
    const auto isBlankOrControl = [&](std::size_t at) {
        return static_cast<unsigned char>(byteAt(at)) <= 32;
    };
    std::size_t start = 0;
    while (start < length && isBlankOrControl(start)) {
        ++start;
    }
    while (length > start && isBlankOrControl(length - 1)) {
        --length;
    }
    return {start, std::min(length - start, width)};
}

// Where `length` bytes of kept text go in the field: at its start, or at its end when right-justified.
inline char* keptPlace(std::span<char> field, std::size_t length, Justify justify) {
    return justify == Justify::Right ? field.data() + field.size() - length : field.data();
}

// Writes the kept text alone, over a field that holds its fill already.
void placeOverFill(std::span<char> field, std::string_view value, Justify justify);

} // namespace kalvian
