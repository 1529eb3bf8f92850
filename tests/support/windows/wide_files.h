#pragma once

#include <string>

namespace kalvian::test {

// Folders and files reached through the wide API with whole paths ("\\?\C:\..."), which neither the
// 260-character limit nor the ANSI code page stops; paths are UTF-8.

// Makes every folder of the path that is missing.
void makeFolders(const std::string& path);

// A file's bytes; "(cannot open: N)" with the system's code when it cannot be opened.
std::string readWide(const std::string& path);

} // namespace kalvian::test
