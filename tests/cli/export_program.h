#pragma once

#include <filesystem>
#include <string>

namespace kalvian::test {

// How a run of kalvian-export ended.
struct ProgramRun {
    int exitCode = -1; // -1 when it did not exit by itself (a signal)
    std::string out;
    std::string err;
};

// Runs kalvian-export with the arguments (shell words) in the folder, under a "C" locale (date separator
// "/"), stdin closed; its two streams are kept in files of `scratch`.
ProgramRun runExport(const std::filesystem::path& folder, const std::string& arguments,
                     const std::filesystem::path& scratch);

} // namespace kalvian::test
