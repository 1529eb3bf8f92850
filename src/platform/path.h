#pragma once

#include <string>
#include <string_view>

namespace kalvian {

// The platform's folder separator: "\" on Windows, "/" elsewhere.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Joins a folder and a file name: the folder without leading and trailing blanks and control characters,
// a separator unless it already ends with "\" or "/", then the name unchanged. An empty folder gives the
// separator followed by the name.
std::string MontaCaminho(std::string_view folder, std::string_view name);

// The file name at the end of a path: what follows its last "/" (and on Windows its last "\" or a drive's
// ":").
std::string_view fileNameOf(std::string_view path);

} // namespace kalvian
