#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kalvian::test {

// A real program as a user starts it, with its arguments as words (no shell): UTF-8 where the system names
// files in Unicode, the system's bytes elsewhere.
struct Program {
    std::vector<std::string> arguments; // the program first
    std::filesystem::path workingFolder;
    std::vector<std::string> settings; // "NAME=value", in place of the caller's variables of that name
};

// How a program ended and what it wrote.
struct ProcessEnd {
    int exitCode = -1; // when it exited
    int signal = 0;    // when a signal ended it (POSIX)
    std::string out;
    std::string err;
};

// Runs a program to its end with nothing on its stdin, its stdout and stderr kept.
ProcessEnd runProgram(const Program& program);

} // namespace kalvian::test
