// Whole kalvian-export runs beside their physical limits, in one run of the program, over three generated
// folders of 1,000,000 issued and 1,000,000 received invoices and 100,000 clients:
// - one registration holding 10% of the invoices, over tables whose blocks lie in chain order and over the
//   same rows in lived-in tables (blocks shuffled, partly filled, free blocks among them), and the large
//   taxpayer of an office's folder, whose file is a 200,001-line one of about 51 MB; the limit is reading
//   the three tables as cat does plus writing and syncing as many bytes as the export file holds;
// - --todas over the lived-in tables and over the office's folder, about 1,001 registrations each, into an
//   empty folder; the limit is reading the tables plus creating, writing and syncing every file the run
//   writes, each as large as it is.
// Each export is timed back to back with its limit, in turns first, nine times; the multiple is the median
// of the pairs. Each export's peak memory (maxRSS_MB) is measured apart, in a process of its own. What the
// runs write goes into a fresh temporary folder, removed at the end.
#include "bench_folder.h"
#include "large_taxpayer_tables.h"
#include "run/query_step.h"
#include "support/temp_folder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unistd.h>

namespace kalvian::bench {
namespace {

// Export and limit pairs timed per kind of run.
constexpr int kPairs = 9;

// Where the runs and their limits write: a folder of this program's own, removed at exit.
const std::filesystem::path& outputRoot() {
    static const test::TempFolder output;
    return output.path();
}

struct Export {
    const char* name;
    Folder folder;
    const char* registration; // nullptr: --todas
    // Each run writes into an emptied folder, as an office exporting all its taxpayers for a period
    // would; otherwise each run replaces the file of the one before.
    bool freshFolder;
};

// Before a timed run into a fresh folder: the folder emptied and the disk done with the deletions, the
// clock stopped meanwhile.
void emptyUntimed(benchmark::State& state, const std::filesystem::path& folder) {
    state.PauseTiming();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    ::sync();
    state.ResumeTiming();
}

std::filesystem::path outputOf(const Export& run) {
    return outputRoot() / run.name;
}

std::string arguments(const Export& run) {
    return "--origem '" + benchFolder(run.folder).string() + "' " +
           (run.registration == nullptr ? std::string("--todas")
                                        : std::string("--inscricao ") + run.registration) +
           " --inicio 01/01/2008 --fim 15/12/2008 --destino '" + outputOf(run).string() + "' --substituir";
}

std::string exportCommand(const Export& run) {
    return "'" KALVIAN_EXPORT_PROGRAM "' " + arguments(run) + " >/dev/null";
}

void mustRun(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "falhou: %s\n", command.c_str());
        std::exit(1);
    }
}

// The sizes of the files a run writes, from a first run.
const std::vector<std::uintmax_t>& outputSizes(const Export& run) {
    static std::map<std::string, std::vector<std::uintmax_t>> sizes;
    auto& found = sizes[run.name];
    if (found.empty()) {
        std::filesystem::remove_all(outputOf(run));
        std::filesystem::create_directories(outputOf(run));
        mustRun(exportCommand(run));
        for (const auto& entry : std::filesystem::directory_iterator(outputOf(run))) {
            found.push_back(entry.file_size());
        }
    }
    return found;
}

double peakMegabytes(const Export& run) {
    const std::string file = (outputRoot() / "peak.txt").string();
    mustRun("'" PEAK_MEMORY_PROGRAM "' '" + file + "' '" KALVIAN_EXPORT_PROGRAM "' " + arguments(run) +
            " >/dev/null");
    double kilobytes = 0;
    std::ifstream(file) >> kilobytes;
    return kilobytes / 1e3;
}

// The bytes of the rows the window's queries keep for the registration: its invoices and every client.
double selectedMegabytes(const Export& run) {
    NoWindowHost host;
    SourceQueries queries;
    queries.AbreConsultas(run.registration, {{periodStart()}, {periodEnd()}},
                          benchFolder(run.folder).string(), host);
    const double bytes =
        static_cast<double>(queries.emitida().recordCount()) * queries.emitida().recordSize() +
        static_cast<double>(queries.recebida().recordCount()) * queries.recebida().recordSize() +
        static_cast<double>(queries.cliente().recordCount()) * queries.cliente().recordSize();
    return bytes / 1e6;
}

void writeAndSync(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (std::size_t done = 0; done < bytes.size();) {
        done += static_cast<std::size_t>(::write(fd, bytes.data() + done, bytes.size() - done));
    }
    ::fsync(fd);
    ::close(fd);
}

// The medians of every run, printed at the end as one table.
class Summary {
public:
    static void add(const std::string& name, double exportMs, double limitMs, double multiple,
                    double peakMb) {
        rows().push_back({name, exportMs, limitMs, multiple, peakMb});
    }
    static void print() {
        std::printf("\nEach export beside its limit, timed back to back (medians):\n");
        for (const Row& row : rows()) {
            std::printf("  %-20s export %9.1f ms  limit %9.1f ms  %5.2fx  maxRSS %6.1f MB\n",
                        row.name.c_str(), row.exportMs, row.limitMs, row.multiple, row.peakMb);
        }
    }

private:
    struct Row {
        std::string name;
        double exportMs;
        double limitMs;
        double multiple;
        double peakMb;
    };
    static std::vector<Row>& rows() {
        static std::vector<Row> all;
        return all;
    }
};

// What the physical limit of a run does: read the tables as cat does, then write and sync files as large
// as those the run writes.
class Limit {
public:
    explicit Limit(const Export& run)
        : m_run(run), m_sizes(outputSizes(run)),
          m_bytes(*std::max_element(m_sizes.begin(), m_sizes.end()), 'x'),
          m_folder(outputRoot() / (std::string(run.name) + "-limite")) {
        std::filesystem::create_directories(m_folder);
    }

    const std::filesystem::path& folder() const { return m_folder; }

    void operator()() const {
        benchmark::DoNotOptimize(catTables(m_run.folder));
        for (std::size_t i = 0; i < m_sizes.size(); ++i) {
            writeAndSync((m_folder / std::to_string(i)).string(),
                         std::string_view(m_bytes).substr(0, m_sizes[i]));
        }
    }

private:
    const Export& m_run;
    const std::vector<std::uintmax_t>& m_sizes;
    std::string m_bytes;
    std::filesystem::path m_folder;
};

double millisecondsOf(const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Each iteration times the export and its limit back to back, in turns first, so both meet the same
// machine; the multiple is the median of those pairs. The reported time is the export's.
void exportAgainstLimit(benchmark::State& state, const Export* which) {
    const Export& run = *which;
    const Limit limit(run);
    const std::string command = exportCommand(run);
    std::vector<double> exports;
    std::vector<double> limits;
    std::vector<double> multiples;
    for (auto _ : state) {
        if (run.freshFolder) {
            emptyUntimed(state, outputOf(run));
            emptyUntimed(state, limit.folder());
        }
        bool failed = false;
        const auto exportOnce = [&] { failed = std::system(command.c_str()) != 0; };
        double limitTime = 0;
        double exportTime = 0;
        if (exports.size() % 2 == 0) {
            limitTime = millisecondsOf(limit);
            exportTime = millisecondsOf(exportOnce);
        } else {
            exportTime = millisecondsOf(exportOnce);
            limitTime = millisecondsOf(limit);
        }
        if (failed) {
            state.SkipWithError("kalvian-export falhou");
            return;
        }
        state.SetIterationTime(exportTime / 1e3);
        exports.push_back(exportTime);
        limits.push_back(limitTime);
        multiples.push_back(exportTime / limitTime);
    }
    state.counters["limit_ms"] = median(limits);
    state.counters["multiple"] = median(multiples);
    state.counters["maxRSS_MB"] = peakMegabytes(run);
    if (run.registration != nullptr) {
        state.counters["selected_MB"] = selectedMegabytes(run);
    }
    Summary::add(run.name, median(exports), median(limits), median(multiples), state.counters["maxRSS_MB"]);
}

const Export kInOrder{"uma-em-ordem", Folder::InOrder, kRegistration, false};
const Export kShuffled{"uma-embaralhada", Folder::Shuffled, kRegistration, false};
const Export kAll{"todas-embaralhada", Folder::Shuffled, nullptr, true};
const Export kLarge{"uma-grande", Folder::LargeTaxpayer, kLargeTaxpayer, false};
const Export kLargeAll{"todas-grande", Folder::LargeTaxpayer, nullptr, true};

} // namespace
} // namespace kalvian::bench

int main(int argc, char** argv) {
    using namespace kalvian::bench;
    for (const Export* run : {&kInOrder, &kShuffled, &kAll, &kLarge, &kLargeAll}) {
        benchmark::RegisterBenchmark(run->name, exportAgainstLimit, run)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(kPairs);
    }
    benchmark::Initialize(&argc, argv);
    for (const Folder folder : {Folder::InOrder, Folder::Shuffled, Folder::LargeTaxpayer}) {
        benchFolder(folder);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Summary::print();
    return 0;
}
