#pragma once

#include <string>
#include <vector>

namespace kalvian {

// The program's arguments, the program first: the system's bytes where names are bytes, UTF-8 where the
// system passes them in Unicode (argv there is in the ANSI code page, which loses characters).
std::vector<std::string> commandLineArguments(int argc, char* argv[]);

// Makes the standard streams carry the program's bytes as they are: UTF-8 text shows as such on a console
// that would read another code page, and no line end is rewritten. On Windows, Ctrl+C and its kin then end
// the program with the status of an interrupted console program, the console given back its code page.
void useStandardStreamsAsBytes();

// The current folder; "." when it has none any more (removed), which whatever uses it then reports.
std::string currentFolder();

// True when the standard error stream goes to a terminal, where progress may be drawn.
bool standardErrorIsTerminal();

// Marks, for as long as the process runs, that the window is open, where an installer about to replace the
// program looks for it (on Windows, a named mutex).
void markWindowOpen();

} // namespace kalvian
