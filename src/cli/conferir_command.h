#pragma once

#include <ostream>
#include <string>

namespace kalvian {

// kalvian-export --conferir: reads an export file back, without the tables, checks every line and prints
// its counts and totals as an export prints them. Returns the exit code: 0 for a sound file; 1 with the
// first bad line ("linha N: ...") or the read failure on err.
int runConferir(const std::string& path, std::ostream& out, std::ostream& err);

} // namespace kalvian
