#pragma once

#include <string>
#include <vector>

namespace kalvian {

// The program's arguments, the program first: the system's bytes where names are bytes, UTF-8 where the
// system passes them in Unicode (argv there is in the ANSI code page, which loses characters).
std::vector<std::string> commandLineArguments(int argc, char* argv[]);

// Makes the standard streams carry the program's bytes as they are: UTF-8 text shows as such on a console
// that would read another code page, and no line end is rewritten.
void useStandardStreamsAsBytes();

// The current folder; "." when it has none any more (removed), which whatever uses it then reports.
std::string currentFolder();

// True when the standard error stream goes to a terminal, where progress may be drawn.
bool standardErrorIsTerminal();

} // namespace kalvian
