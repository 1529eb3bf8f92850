#pragma once

#include <string>
#include <vector>

namespace kalvian {

// Paths are UTF-8 text where the system names files in Unicode, and the system's bytes elsewhere.

// True when something other than a folder bears the name: a file, or a symbolic link, even one that leads
// nowhere, since writing through it would create what it names. This is what the replace question asks.
bool fileExists(const std::string& path);

// True for a plain file, links followed.
bool isPlainFile(const std::string& path);

// The names a folder holds, "." and ".." left out; nothing when it cannot be read.
std::vector<std::string> folderEntries(const std::string& folder);

} // namespace kalvian
