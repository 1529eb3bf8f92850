#pragma once

#include "source/query_host.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <string>

namespace kalvian::bench {

inline constexpr std::size_t kInvoiceRows = 1000000;
inline constexpr std::size_t kClientRows = 100000;
// The registration number that holds about 10% of the invoices, and its period (all of 2008).
inline constexpr const char* kRegistration = "1000";
double periodStart();
double periodEnd();

// A folder with DSEMI and DSREC of 1,000,000 rows each and DSCLI of 100,000, written on first use under
// the system's temporary folder and kept there between runs.
const std::filesystem::path& benchFolder();
std::uintmax_t folderBytes();

// Reads the three tables as `cat` does, into a reused buffer; returns the bytes read.
std::uintmax_t catTables();

// Registers a benchmark timed by the wall clock in milliseconds and repeated five times.
void addTimed(const char* name, void (*run)(benchmark::State&));

// The program's main: writes the folder if needed, then runs the benchmarks with a RatioReporter.
int runWithRatios(int argc, char** argv);

// What the queries need of a window, for programs that have none.
class NoWindowHost : public QueryHost {
public:
    void setWaitCursor(bool) override {}
    void focusSourceFolder() override {}
};

// Prints, after the usual table, each benchmark's median time as a multiple of the first one's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    std::vector<std::pair<std::string, double>> m_times;
};

} // namespace kalvian::bench
