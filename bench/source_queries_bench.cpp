// The three source queries over 1,000,000 issued and 1,000,000 received invoices and 100,000 clients, one
// registration number holding 10% of the invoices: opening and counting, then also walking every selected
// row with a client lookup, beside reading the same three files as cat does (page cache warm); over the
// tables with their blocks in order and over the same rows in lived-in tables.
#include "bench_folder.h"
#include "run/query_step.h"

#include <benchmark/benchmark.h>

namespace kalvian::bench {
namespace {

void countRows(benchmark::State& state, std::int64_t rows) {
    state.counters["rows/s"] = benchmark::Counter(
        static_cast<double>(rows) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void catThreeTables(benchmark::State& state, Folder folder) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(catTables(folder));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * folderBytes(folder)));
    countRows(state, static_cast<std::int64_t>(2 * kInvoiceRows + kClientRows));
}

void openAndCount(benchmark::State& state, Folder folder) {
    NoWindowHost host;
    std::int64_t selected = 0;
    for (auto _ : state) {
        SourceQueries queries;
        queries.AbreConsultas(kRegistration, {{periodStart()}, {periodEnd()}}, benchFolder(folder).string(),
                              host);
        selected = queries.emitida().rowCount() + queries.recebida().rowCount();
        benchmark::DoNotOptimize(selected);
    }
    state.counters["selected"] = static_cast<double>(selected);
    countRows(state, static_cast<std::int64_t>(2 * kInvoiceRows + kClientRows));
}

void openCountAndWalk(benchmark::State& state, Folder folder) {
    NoWindowHost host;
    for (auto _ : state) {
        SourceQueries queries;
        queries.AbreConsultas(kRegistration, {{periodStart()}, {periodEnd()}}, benchFolder(folder).string(),
                              host);
        std::int64_t found = 0;
        for (InvoiceTableQuery* query : {&queries.emitida(), &queries.recebida()}) {
            for (query->first(); !query->eof(); query->next()) {
                found += queries.cliente().LocalizaCliente(query->current().asInteger("CODCLI")) ? 1 : 0;
            }
        }
        benchmark::DoNotOptimize(found);
    }
    countRows(state, static_cast<std::int64_t>(2 * kInvoiceRows + kClientRows));
}

} // namespace
} // namespace kalvian::bench

int main(int argc, char** argv) {
    using namespace kalvian::bench;
    addTimed("catThreeTables", catThreeTables, Folder::InOrder);
    addTimed("openAndCount", openAndCount, Folder::InOrder);
    addTimed("openCountAndWalk", openCountAndWalk, Folder::InOrder);
    addTimed("catThreeTablesShuffled", catThreeTables, Folder::Shuffled);
    addTimed("openAndCountShuffled", openAndCount, Folder::Shuffled);
    addTimed("openCountAndWalkShuffled", openCountAndWalk, Folder::Shuffled);
    return runWithRatios(argc, argv,
                         {{"openAndCount", "catThreeTables"},
                          {"openCountAndWalk", "catThreeTables"},
                          {"openAndCountShuffled", "catThreeTablesShuffled"},
                          {"openCountAndWalkShuffled", "catThreeTablesShuffled"}});
}
