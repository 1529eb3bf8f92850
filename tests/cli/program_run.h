#pragma once

#include "support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace kalvian::test {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs kalvian-export as a user does, through the shell (arguments are shell words), from `folder`, with
// the locale given and nothing on stdin. Its output goes through files in `scratch`.
inline ProgramRun runExport(const std::string& arguments, const std::filesystem::path& folder,
                            const std::filesystem::path& scratch, const std::string& locale = "C") {
    const std::string out = (scratch / "out.txt").string();
    const std::string err = (scratch / "err.txt").string();
    const std::string command = "cd '" + folder.string() + "' && LC_ALL=" + locale + " LANG=" + locale +
                                " '" + KALVIAN_EXPORT_PROGRAM "' " + arguments + " >'" + out + "' 2>'" + err +
                                "' </dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
}

} // namespace kalvian::test
