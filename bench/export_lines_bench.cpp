// Lines built per second from in-memory records, a client found for every E and R line.
#include "common/date_serial.h"
#include "export_format/export_lines.h"
#include "export_format/written_lines.h"
#include "support/memory_records.h"

#include <benchmark/benchmark.h>

namespace kalvian {
namespace {

MemoryClients clients() {
    std::vector<MemoryRecord> all;
    for (std::int32_t code = 1; code <= 1000; ++code) {
        all.push_back(test::clientRecord(code, "Servi\xE7os Gerais de Manuten\xE7\xE3o Ltda"));
    }
    return MemoryClients(std::move(all));
}

void BM_LinhaEmitida(benchmark::State& state) {
    MemoryClients lookup = clients();
    MemoryRecord invoice{{"DATA", DateSerial{toSerial({2008, 3, 14})}},
                         {"SERIE", std::string("A")},
                         {"NUMNF", std::int32_t{123456}},
                         {"MODU", std::string("1")},
                         {"VALNF", 15320.75},
                         {"VALSER", 12000.0},
                         {"RESTRB", std::string("R")},
                         {"ALIQUO", 5.0},
                         {"ALQRET", 0.0},
                         {"CODCLI", std::int32_t{500}}};
    ClientBlocks blocks(lookup, 0); // each line builds its client's block, as for a client met once
    std::string line;
    for (auto _ : state) {
        line.clear();
        LinhaEmitida(line, invoice, blocks, '/');
        benchmark::DoNotOptimize(line);
    }
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LinhaEmitida);

void BM_LinhaRecebida(benchmark::State& state) {
    MemoryClients lookup = clients();
    MemoryRecord invoice{{"DATA", DateSerial{toSerial({2008, 3, 14})}},
                         {"CODCLI", std::int32_t{700}},
                         {"SERIE", std::string("B")},
                         {"NUMNF", std::int32_t{98765}},
                         {"MODU", std::string("2")},
                         {"VALNF", 8000.5},
                         {"VALSER", 7999.99},
                         {"ALIQUO", 2.0},
                         {"IMPRET", 159.99}};
    ClientBlocks blocks(lookup, 0);
    std::string line;
    for (auto _ : state) {
        line.clear();
        LinhaRecebida(line, invoice, blocks, '/');
        benchmark::DoNotOptimize(line);
    }
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LinhaRecebida);

} // namespace
} // namespace kalvian

BENCHMARK_MAIN();
