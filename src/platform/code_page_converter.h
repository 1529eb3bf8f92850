#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace kalvian {

// Converts text of one code page to Windows-1252 through the system's converters. A character with no
// Windows-1252 form, or bytes that are not valid in the code page, become "?" each.
class CodePageConverter {
public:
    // Nothing when the system does not know the code page.
    static std::unique_ptr<const CodePageConverter> open(int codePage);
    virtual ~CodePageConverter() = default;

    // `complete` turns false when the input ends inside a multi-byte character (replaced as well).
    virtual std::string toWindows1252(std::string_view input, bool& complete) const = 0;
};

} // namespace kalvian
