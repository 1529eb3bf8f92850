#pragma once

#include "cli/export_options.h"
#include "common/date_serial.h"

#include <ostream>
#include <string>

namespace kalvian {

// What the command line takes from its surroundings.
struct Console {
    std::ostream& out;
    std::ostream& err;
    bool progress = false;        // stderr is a terminal
    CalendarDate today;           // completes short years
    char lineDateSeparator = '/'; // the locale's, for the export lines
    std::string currentFolder;    // the default destination
};

enum ExitCode { kExitSuccess = 0, kExitFailure = 1, kExitUsage = 2 };

// Runs the query step and the export for each registration number asked for, as the window does. Failures
// are reported on err with the window's text; the others still run. Returns the process's exit code.
int runBatchExport(const ExportOptions& options, Console& console);

} // namespace kalvian
