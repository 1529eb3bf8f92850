// The whole kalvian-export run over 1,000,000 issued and 1,000,000 received invoices and 100,000 clients,
// one registration number holding about 10% of the invoices, beside the physical limit: reading the three
// tables as cat does plus writing (and syncing) as many bytes as the export file holds.
#include "bench_folder.h"
#include "common/date_serial.h"
#include "source/query_step.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvian::bench {
namespace {

const std::filesystem::path kOutput = std::filesystem::temp_directory_path() / "kalvian-bench-export";

std::string exportCommand() {
    return "'" KALVIAN_EXPORT_PROGRAM "' --origem '" + benchFolder().string() + "' --inscricao " +
           kRegistration + " --inicio 01/01/2008 --fim 15/12/2008 --destino '" + kOutput.string() +
           "' --arquivo export.txt --substituir >/dev/null";
}

std::uintmax_t exportBytes() {
    static const std::uintmax_t bytes = [] {
        std::filesystem::create_directories(kOutput);
        if (std::system(exportCommand().c_str()) != 0) {
            std::fprintf(stderr, "kalvian-export falhou\n");
            std::exit(1);
        }
        return std::filesystem::file_size(kOutput / "export.txt");
    }();
    return bytes;
}

// The bytes of the rows the queries keep: the selected invoices and every client.
double selectedMegabytes() {
    NoWindowHost host;
    SourceQueries queries;
    queries.AbreConsultas(kRegistration, periodStart(), periodEnd(), benchFolder().string(), host);
    const double bytes =
        static_cast<double>(queries.emitida().keptRows()) * queries.emitida().recordSize() +
        static_cast<double>(queries.recebida().keptRows()) * queries.recebida().recordSize() +
        static_cast<double>(queries.cliente().keptRows()) * queries.cliente().recordSize();
    return bytes / 1e6;
}

void catAndWrite(benchmark::State& state) {
    const std::string bytes(exportBytes(), 'x');
    const std::string target = (kOutput / "limit.txt").string();
    for (auto _ : state) {
        benchmark::DoNotOptimize(catTables());
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (std::size_t done = 0; done < bytes.size();) {
            done += static_cast<std::size_t>(::write(fd, bytes.data() + done, bytes.size() - done));
        }
        ::fsync(fd);
        ::close(fd);
    }
    state.counters["out_MB"] = static_cast<double>(exportBytes()) / 1e6;
}

void wholeExport(benchmark::State& state) {
    const std::string command = exportCommand();
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("kalvian-export falhou");
            return;
        }
    }
    rusage children{};
    ::getrusage(RUSAGE_CHILDREN, &children);
    state.counters["maxRSS_MB"] = static_cast<double>(children.ru_maxrss) / 1e3;
    state.counters["selected_MB"] = selectedMegabytes();
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(exportBytes()) / 290.0 *
                                                       static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}

} // namespace
} // namespace kalvian::bench

int main(int argc, char** argv) {
    kalvian::bench::addTimed("catAndWrite", kalvian::bench::catAndWrite);
    kalvian::bench::addTimed("wholeExport", kalvian::bench::wholeExport);
    kalvian::bench::exportBytes();
    return kalvian::bench::runWithRatios(argc, argv);
}
