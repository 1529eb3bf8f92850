#pragma once

#include <string>
#include <string_view>

namespace kalvian {

// Text typed by the user (UTF-8) as the export file's 8-bit code page; a character with no Windows-1252
// form, or a malformed sequence, becomes "?".
std::string utf8ToWindows1252(std::string_view text);

// Text of the export file (Windows-1252) as UTF-8, for the terminal.
std::string windows1252ToUtf8(std::string_view text);

} // namespace kalvian
