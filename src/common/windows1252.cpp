#include "windows1252.h"

#include "common/utf8.h"

#include <algorithm>
#include <iterator>

namespace kalvian {

namespace {

// Code points of bytes 0x80..0x9F; the five bytes Windows leaves undefined map to the C1 control of the
// same number, as Windows itself converts them.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char toWindows1252(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<char>(codePoint);
    }
    const auto* found = std::find(std::begin(kHighControls), std::end(kHighControls), codePoint);
    return found == std::end(kHighControls) ? '?'
                                            : static_cast<char>(0x80 + (found - std::begin(kHighControls)));
}

} // namespace

std::string utf8ToWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::optional<Utf8Char> decoded = decodeUtf8(text, i);
        out += decoded ? toWindows1252(decoded->codePoint) : '?';
        i += decoded ? decoded->length : 1;
    }
    return out;
}

std::string windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        appendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t{byte});
    }
    return out;
}

} // namespace kalvian
