// Whole kalvian-export runs over 1,000,000 issued and 1,000,000 received invoices and 100,000 clients,
// beside their physical limits, in one run of the program:
// - one registration (10% of the invoices), over tables whose blocks lie in chain order and over the same
//   rows in lived-in tables (blocks shuffled, partly filled, free blocks among them); the limit is reading
//   the three tables as cat does plus writing and syncing as many bytes as the export file holds;
// - --todas over the lived-in tables, 1,001 registrations, into an empty folder; the limit is reading the
//   tables plus creating, writing and syncing every file the run writes, each as large as it is.
// Each export's peak memory (maxRSS_MB) is measured apart, in a process of its own.
#include "bench_folder.h"
#include "source/query_step.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <unistd.h>

namespace kalvian::bench {
namespace {

const std::filesystem::path kOutput = std::filesystem::temp_directory_path() / "kalvian-bench-export";

struct Export {
    const char* name;
    Blocks blocks;
    bool all;
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
    return kOutput / run.name;
}

std::string arguments(const Export& run) {
    return "--origem '" + benchFolder(run.blocks).string() + "' " +
           (run.all ? std::string("--todas") : std::string("--inscricao ") + kRegistration) +
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
    const std::string file = (kOutput / "peak.txt").string();
    mustRun("'" PEAK_MEMORY_PROGRAM "' '" + file + "' '" KALVIAN_EXPORT_PROGRAM "' " + arguments(run) +
            " >/dev/null");
    double kilobytes = 0;
    std::ifstream(file) >> kilobytes;
    return kilobytes / 1e3;
}

// The bytes of the rows the window's queries keep for the registration: its invoices and every client.
double selectedMegabytes(Blocks blocks) {
    NoWindowHost host;
    SourceQueries queries;
    queries.AbreConsultas(kRegistration, periodStart(), periodEnd(), benchFolder(blocks).string(), host);
    const double bytes =
        static_cast<double>(queries.emitida().keptRows()) * queries.emitida().recordSize() +
        static_cast<double>(queries.recebida().keptRows()) * queries.recebida().recordSize() +
        static_cast<double>(queries.cliente().keptRows()) * queries.cliente().recordSize();
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

void limit(benchmark::State& state, const Export* which) {
    const Export& run = *which;
    const std::vector<std::uintmax_t>& sizes = outputSizes(run);
    std::uintmax_t largest = 0;
    std::uintmax_t total = 0;
    for (const std::uintmax_t size : sizes) {
        largest = std::max(largest, size);
        total += size;
    }
    const std::string bytes(largest, 'x');
    const std::filesystem::path folder = kOutput / (std::string(run.name) + "-limite");
    std::filesystem::create_directories(folder);
    for (auto _ : state) {
        if (run.freshFolder) {
            emptyUntimed(state, folder);
        }
        benchmark::DoNotOptimize(catTables(run.blocks));
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            writeAndSync((folder / std::to_string(i)).string(), std::string_view(bytes).substr(0, sizes[i]));
        }
    }
    state.counters["tables_MB"] = static_cast<double>(folderBytes(run.blocks)) / 1e6;
    state.counters["out_MB"] = static_cast<double>(total) / 1e6;
    state.counters["files"] = static_cast<double>(sizes.size());
}

void wholeExport(benchmark::State& state, const Export* which) {
    const Export& run = *which;
    outputSizes(run);
    const std::string command = exportCommand(run);
    for (auto _ : state) {
        if (run.freshFolder) {
            emptyUntimed(state, outputOf(run));
        }
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("kalvian-export falhou");
            return;
        }
    }
    state.counters["maxRSS_MB"] = peakMegabytes(run);
    if (!run.all) {
        state.counters["selected_MB"] = selectedMegabytes(run.blocks);
    }
}

const Export kInOrder{"uma-em-ordem", Blocks::InOrder, false, false};
const Export kShuffled{"uma-embaralhada", Blocks::Shuffled, false, false};
const Export kAll{"todas-embaralhada", Blocks::Shuffled, true, true};

} // namespace
} // namespace kalvian::bench

int main(int argc, char** argv) {
    using namespace kalvian::bench;
    // One run per repetition: a run of --todas takes seconds.
    const auto add = [](const char* name, void (*run)(benchmark::State&, const Export*),
                        const Export& which) { addTimed(name, run, &which)->Iterations(1); };
    add("limitOneInOrder", limit, kInOrder);
    add("exportOneInOrder", wholeExport, kInOrder);
    add("limitOneShuffled", limit, kShuffled);
    add("exportOneShuffled", wholeExport, kShuffled);
    add("limitAll", limit, kAll);
    add("exportAll", wholeExport, kAll);
    return runWithRatios(argc, argv,
                         {{"exportOneInOrder", "limitOneInOrder"},
                          {"exportOneShuffled", "limitOneShuffled"},
                          {"exportAll", "limitAll"}});
}
