// kalvian-export --conferir over an export file of about 1 GB, beside its physical limit: `cat` of the same
// file. Both run as processes, the page cache warm; MB/s is the file's size over the time.
#include "bench_folder.h"
#include "common/date_serial.h"
#include "export_format/export_lines.h"
#include "export_format/written_lines.h"
#include "support/memory_records.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace kalvian::bench {
namespace {

constexpr std::uintmax_t kFileBytes = 1000000000;

const std::filesystem::path kFolder = std::filesystem::temp_directory_path() / "kalvian-bench-conferir";

// Amounts as an office's data hold them, with a few negative, large and general-notation ones.
double amount(std::mt19937_64& random) {
    std::uniform_int_distribution<int> kind(0, 99);
    std::uniform_int_distribution<std::int64_t> cents(0, 5000000);
    const int k = kind(random);
    const double value = static_cast<double>(cents(random)) / 100.0;
    return k == 0 ? -value : k == 1 ? value * 1e9 : k == 2 ? value * 1e20 : value;
}

// A thousand issued and a thousand received lines, a client missing for one in twenty, repeated in two
// blocks (issued lines come first) up to the size.
void writeFile(const std::filesystem::path& path) {
    std::mt19937_64 random(2008);
    MemoryClients clients({test::clientRecord(1, "Servi\xE7os Gerais de Manuten\xE7\xE3o Ltda")});
    std::string issued;
    std::string received;
    for (int i = 0; i < 1000; ++i) {
        const MemoryRecord invoice{{"DATA", DateSerial{toSerial({2008, 1 + i % 12, 1 + i % 28})}},
                                   {"SERIE", std::string("A")},
                                   {"NUMNF", std::int32_t{i}},
                                   {"MODU", std::string(i % 25 == 0 ? "X" : "1")},
                                   {"VALNF", amount(random)},
                                   {"VALSER", amount(random)},
                                   {"RESTRB", std::string(i % 3 == 0 ? "R" : " ")},
                                   {"ALIQUO", 5.0},
                                   {"ALQRET", 0.0},
                                   {"IMPRET", amount(random)},
                                   {"CODCLI", std::int32_t{i % 20 == 0 ? 57 : 1}}};
        issued += test::issuedLineOf(invoice, clients, '/') + "\r\n";
        received += test::receivedLineOf(invoice, clients, '/') + "\r\n";
    }
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << LinhaCabecalho("1000") << "\r\n";
    const std::uintmax_t copies = kFileBytes / (issued.size() + received.size());
    for (std::uintmax_t i = 0; i < copies; ++i) {
        out << issued;
    }
    for (std::uintmax_t i = 0; i < copies; ++i) {
        out << received;
    }
}

const std::filesystem::path& exportFile() {
    static const std::filesystem::path path = [] {
        const auto file = kFolder / "export.txt";
        if (!std::filesystem::exists(file) || std::filesystem::file_size(file) < kFileBytes * 9 / 10) {
            std::fprintf(stderr, "Gerando o arquivo de teste em %s...\n", file.c_str());
            writeFile(file);
        }
        return file;
    }();
    return path;
}

void runTimed(benchmark::State& state, std::string command) {
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError(command.c_str());
            return;
        }
    }
    state.counters["MB/s"] =
        benchmark::Counter(static_cast<double>(std::filesystem::file_size(exportFile())) / 1e6 *
                               static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

} // namespace
} // namespace kalvian::bench

int main(int argc, char** argv) {
    using kalvian::bench::exportFile;
    using kalvian::bench::runTimed;
    kalvian::bench::addTimed("cat", runTimed, "cat '" + exportFile().string() + "' >/dev/null");
    kalvian::bench::addTimed("conferir", runTimed,
                             "'" KALVIAN_EXPORT_PROGRAM "' --conferir '" + exportFile().string() +
                                 "' >/dev/null");
    benchmark::Initialize(&argc, argv);
    kalvian::bench::RatioReporter reporter(
        std::vector<std::pair<std::string, std::string>>{{"conferir", "cat"}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
