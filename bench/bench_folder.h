#pragma once

#include "vrk3/query_host.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace kalvian::bench {

inline constexpr std::size_t kInvoiceRows = 1000000;
inline constexpr std::size_t kClientRows = 100000;
// The registration number that holds 10% of the invoices; the other 90% are spread over 1,000 more. Its
// period, all of 2008, holds every invoice.
inline constexpr const char* kRegistration = "1000";
inline constexpr std::size_t kRegistrations = 1001;
double periodStart();
double periodEnd();

// The generated folders. InOrder and Shuffled hold the same rows: registration kRegistration holds 10% of
// them, 1,000 more share the rest, all of 2008; InOrder stores the data blocks in chain order, Shuffled as
// tables that lived through years of inserts and deletes keep them (shuffled, partly filled, a few free
// blocks among them). LargeTaxpayer is an office's folder around one taxpayer with a large export file
// (largeTaxpayerTables).
enum class Folder { InOrder, Shuffled, LargeTaxpayer };

// The folder's DSEMI and DSREC of 1,000,000 rows each and DSCLI of 100,000, written on first use under the
// system's temporary folder and kept there between runs.
const std::filesystem::path& benchFolder(Folder folder = Folder::InOrder);
std::uintmax_t folderBytes(Folder folder = Folder::InOrder);

// Reads the three tables as `cat` does, into a reused buffer; returns the bytes read.
std::uintmax_t catTables(Folder folder = Folder::InOrder);

// Registers a benchmark of run(state, argument), timed by the wall clock in milliseconds and repeated five
// times; the median is what the reporter compares.
template <class Argument>
benchmark::internal::Benchmark* addTimed(const char* name, void (*run)(benchmark::State&, Argument),
                                         Argument argument) {
    return benchmark::RegisterBenchmark(name, run, argument)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

// The program's main: writes the folders if needed, then runs the benchmarks with a RatioReporter over
// those pairs of benchmark and limit.
int runWithRatios(int argc, char** argv, std::vector<std::pair<std::string, std::string>> limits);

// What the queries need of a window, for programs that have none.
class NoWindowHost : public QueryHost {
public:
    void setWaitCursor(bool) override {}
    void focusSourceFolder() override {}
};

// Prints, after the usual table, each benchmark's median time as a multiple of its limit's (pairs of
// benchmark and limit names).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::vector<std::pair<std::string, std::string>> limits)
        : m_limits(std::move(limits)) {}

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    double timeOf(const std::string& name) const;

    std::vector<std::pair<std::string, std::string>> m_limits;
    std::vector<std::pair<std::string, double>> m_times;
};

} // namespace kalvian::bench
