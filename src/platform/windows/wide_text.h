#pragma once

#include <string>
#include <string_view>

namespace kalvian {

// Windows names files in UTF-16; the rest of the program holds them as UTF-8.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

// A path for the wide file calls: whole, with "\" as separator, and in the form that lifts the 260-character
// limit ("\\?\C:\..." or "\\?\UNC\server\share\...").
std::wstring systemPath(std::string_view utf8);

// The folder a system path lies in, with its separator, and the name in it.
std::wstring folderOf(const std::wstring& path);

} // namespace kalvian
