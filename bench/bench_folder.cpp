#include "bench_folder.h"

#include "common/date_serial.h"
#include "large_taxpayer_tables.h"
#include "vrk3_tables.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace kalvian::bench {

namespace {

using paradox::ClientRow;
using paradox::IssuedRow;
using paradox::ReceivedRow;

// Every tenth row belongs to the registration 1000; the others are spread over 1,000 more (2000..2999).
// Every row is of 2008, so one registration in the year holds 10% of a table's rows.
double registrationOf(std::size_t row) {
    return row % 10 == 0 ? 1000.0 : 2000.0 + static_cast<double>(row / 10 % (kRegistrations - 1));
}
double dateOf(std::size_t row) {
    return toSerial({2008, 1, 1}) + static_cast<double>(row % 349);
}
std::int32_t clientOf(std::size_t row) {
    return static_cast<std::int32_t>(1 + (row * 7919) % kClientRows);
}

paradox::Vrk3Tables tablesOf(Folder folder) {
    paradox::Vrk3Tables tables;
    if (folder == Folder::Shuffled) {
        tables.placement = {true, 2008, 16, 60};
    }
    tables.issued.reserve(kInvoiceRows);
    tables.received.reserve(kInvoiceRows);
    for (std::size_t i = 0; i < kInvoiceRows; ++i) {
        IssuedRow issued;
        issued.insmun = registrationOf(i);
        issued.data = dateOf(i);
        issued.numnf = static_cast<std::int32_t>(i);
        issued.modu = std::string(i % 20 == 0 ? "X" : "1");
        issued.valnf = static_cast<double>(i % 100000) / 10.0;
        issued.valser = static_cast<double>(i % 50000) / 10.0;
        issued.restrb = std::string(i % 3 == 0 ? "R" : " ");
        issued.aliquo = 5.0;
        issued.codcli = clientOf(i);
        tables.issued.push_back(std::move(issued));

        ReceivedRow received;
        received.key = static_cast<std::int32_t>(i);
        received.insmun = registrationOf(i + 3);
        received.data = dateOf(i + 11);
        received.codcli = clientOf(i + 5);
        received.numnf = static_cast<std::int32_t>(i);
        received.valnf = static_cast<double>(i % 70000) / 10.0;
        received.valser = static_cast<double>(i % 30000) / 10.0;
        received.aliquo = 2.0;
        received.impret = static_cast<double>(i % 1000) / 10.0;
        tables.received.push_back(std::move(received));
    }
    for (std::size_t i = 1; i <= kClientRows; ++i) {
        ClientRow client;
        client.codcli = static_cast<std::int32_t>(i);
        client.insmun = 30000000000.0 + static_cast<double>(i);
        client.numcnpj = std::string("12345678000199");
        client.nome = "Cliente n\xFAmero " + std::to_string(i);
        client.rua = std::string("Rua das Ac\xE1"
                                 "cias");
        client.numero = static_cast<std::int32_t>(i % 2000);
        client.bairro = std::string("Centro");
        client.cidade = std::string("S\xE3o Paulo");
        client.estado = std::string("SP");
        client.cep = std::string("01310100");
        tables.clients.push_back(std::move(client));
    }
    return tables;
}

} // namespace

double periodStart() {
    return toSerial({2008, 1, 1});
}
double periodEnd() {
    return toSerial({2008, 12, 15});
}

const std::filesystem::path& benchFolder(Folder folder) {
    static const auto write = [](Folder shape, const char* name) {
        const auto path = std::filesystem::temp_directory_path() / name;
        if (!std::filesystem::exists(path / "DSCLI.DB")) {
            std::fprintf(stderr, "Gerando as tabelas de teste em %s...\n", path.c_str());
            std::filesystem::create_directories(path);
            (shape == Folder::LargeTaxpayer ? largeTaxpayerTables() : tablesOf(shape)).write(path);
        }
        return path;
    };
    switch (folder) {
    case Folder::Shuffled: {
        static const std::filesystem::path shuffled = write(folder, "kalvian-bench-vrk3-1001-embaralhada");
        return shuffled;
    }
    case Folder::LargeTaxpayer: {
        static const std::filesystem::path large = write(folder, "kalvian-bench-vrk3-inscricao-123");
        return large;
    }
    case Folder::InOrder:
        break;
    }
    static const std::filesystem::path inOrder = write(folder, "kalvian-bench-vrk3-1001");
    return inOrder;
}

std::uintmax_t folderBytes(Folder folder) {
    std::uintmax_t total = 0;
    for (const char* name : {"DSEMI.DB", "DSREC.DB", "DSCLI.DB"}) {
        total += std::filesystem::file_size(benchFolder(folder) / name);
    }
    return total;
}

std::uintmax_t catTables(Folder folder) {
    static std::vector<char> buffer(128 * 1024);
    std::uintmax_t total = 0;
    for (const char* name : {"DSEMI.DB", "DSREC.DB", "DSCLI.DB"}) {
        const int fd = ::open((benchFolder(folder) / name).c_str(), O_RDONLY);
        for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;) {
            total += static_cast<std::uintmax_t>(got);
        }
        ::close(fd);
    }
    return total;
}

int runWithRatios(int argc, char** argv, std::vector<std::pair<std::string, std::string>> limits) {
    benchmark::Initialize(&argc, argv);
    benchFolder(Folder::InOrder);
    benchFolder(Folder::Shuffled);
    RatioReporter reporter(std::move(limits));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    // The median of the repetitions where there are some, the single run otherwise.
    for (const Run& run : runs) {
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (median || single) {
            m_times.emplace_back(run.run_name.function_name, run.GetAdjustedRealTime());
        }
    }
}

double RatioReporter::timeOf(const std::string& name) const {
    for (const auto& [benchmark, time] : m_times) {
        if (benchmark == name) {
            return time;
        }
    }
    return 0;
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    if (m_times.empty()) {
        return;
    }
    std::printf("\nTime as a multiple of its limit, medians of this run:\n");
    for (const auto& [name, limit] : m_limits) {
        const double time = timeOf(name);
        const double limitTime = timeOf(limit);
        if (time > 0 && limitTime > 0) {
            std::printf("  %-24s %9.1f ms  %-24s %9.1f ms  %6.2fx\n", name.c_str(), time, limit.c_str(),
                        limitTime, time / limitTime);
        }
    }
}

} // namespace kalvian::bench
