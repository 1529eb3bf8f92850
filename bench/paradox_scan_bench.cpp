// Reading a generated 1,000,000-row DSEMI table: the chain walk alone, the selection a query makes by the
// stored bytes of INSMUN and DATA, and decoding every field; beside reading the same file as cat does.
#include "paradox/field_decoders.h"
#include "paradox/table.h"
#include "paradox_writer.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace kalvian::paradox;

constexpr std::size_t kRows = 1000000;

TableLayout dsemiLayout() {
    return {7,
            850,
            4096,
            {{"INSMUN", FieldType::Number},
             {"DATA", FieldType::Date},
             {"SERIE", FieldType::Alpha, 1},
             {"NUMNF", FieldType::Long},
             {"MODU", FieldType::Alpha, 1},
             {"VALNF", FieldType::Number},
             {"VALSER", FieldType::Number},
             {"RESTRB", FieldType::Alpha, 1},
             {"ALIQUO", FieldType::Number},
             {"ALQRET", FieldType::Number},
             {"SITPAG", FieldType::Alpha, 1},
             {"TIPDOC", FieldType::Alpha, 3},
             {"CODCLI", FieldType::Long}}};
}

// Written once per run of the benchmark program: 100 municipal registrations over ten years of notes.
const std::filesystem::path& dsemiFile() {
    static const std::filesystem::path path = [] {
        const auto file = std::filesystem::temp_directory_path() / "kalvian-bench-dsemi-1m.db";
        TableWriter writer(dsemiLayout());
        for (std::size_t i = 0; i < kRows; ++i) {
            const auto n = static_cast<std::int32_t>(i);
            writer.addRow({1000.0 + static_cast<double>(i % 100), 39448.0 + static_cast<double>(i % 3650),
                           std::string("A"), n, std::string("1"), static_cast<double>(i % 100000) / 10.0,
                           static_cast<double>(i % 50000) / 10.0, std::string(i % 2 ? "S" : "N"), 5.0, 0.0,
                           std::string("P"), std::string("NF"), static_cast<std::int32_t>(i % 20000)});
        }
        writer.writeFile(file);
        return file;
    }();
    return path;
}

void report(benchmark::State& state, std::size_t rows) {
    state.counters["rows/s"] = benchmark::Counter(
        static_cast<double>(rows) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(dsemiFile())));
}

void catFile(benchmark::State& state) {
    std::vector<char> buffer(128 * 1024);
    for (auto _ : state) {
        const int fd = ::open(dsemiFile().c_str(), O_RDONLY);
        std::size_t total = 0;
        for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;) {
            total += static_cast<std::size_t>(got);
        }
        ::close(fd);
        benchmark::DoNotOptimize(total);
    }
    report(state, kRows);
}
BENCHMARK(catFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void scanChain(benchmark::State& state) {
    const Table table = Table::open(dsemiFile());
    for (auto _ : state) {
        std::size_t rows = 0;
        table.scan([&](std::span<const std::byte>) { ++rows; });
        benchmark::DoNotOptimize(rows);
    }
    report(state, kRows);
}
BENCHMARK(scanChain)->Unit(benchmark::kMillisecond)->UseRealTime();

void selectByStoredBytes(benchmark::State& state) {
    const Table table = Table::open(dsemiFile());
    const FieldInfo& insmun = table.field("INSMUN");
    const FieldInfo& data = table.field("DATA");
    const auto who = encodeNumberKey(1042);
    const auto from = encodeDateKey(40000);
    const auto to = encodeDateKey(40500);
    for (auto _ : state) {
        // As the queries select: the file read in its order, the chain's order put together in memory.
        const RecordSet rows = table.select([&](std::span<const std::byte> record) {
            const std::byte* day = record.data() + data.offset;
            return std::memcmp(record.data() + insmun.offset, who.data(), who.size()) == 0 &&
                   std::memcmp(day, from.data(), from.size()) >= 0 &&
                   std::memcmp(day, to.data(), to.size()) <= 0;
        });
        benchmark::DoNotOptimize(rows.chainOrder.size());
    }
    report(state, kRows);
}
BENCHMARK(selectByStoredBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

void decodeEveryField(benchmark::State& state) {
    const Table table = Table::open(dsemiFile());
    for (auto _ : state) {
        double sum = 0;
        std::size_t textBytes = 0;
        table.scan([&](std::span<const std::byte> record) {
            for (const FieldInfo& field : table.fields()) {
                switch (field.type) {
                case FieldType::Number:
                    sum += number(record, field).value_or(0);
                    break;
                case FieldType::Date:
                    sum += date(record, field).value_or(0);
                    break;
                case FieldType::Long:
                    sum += integer(record, field).value_or(0);
                    break;
                default:
                    textBytes += table.text(record, field).value_or("").size();
                }
            }
        });
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(textBytes);
    }
    report(state, kRows);
}
BENCHMARK(decodeEveryField)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
