#pragma once

#include <string>

namespace kalvian {

// The current folder; "." when it has none any more (removed), which whatever uses it then reports.
std::string currentFolder();

// True when the standard error stream goes to a terminal, where progress may be drawn.
bool standardErrorIsTerminal();

} // namespace kalvian
