// How a table's blocks are read: a scan reads each block of the chain once, where it lies; a selection
// reads the whole file once, in its order, in a few large reads; both deliver rows in the chain's order
// whatever the order the blocks lie in. A file that another program shortens, extends or rewrites while
// it is read gives a clear message, never a crash and never rows half old and half new.
#include "common/error.h"
#include "numbered_rows.h"
#include "paradox/buffer_source.h"
#include "paradox/field_decoders.h"
#include "paradox/table.h"
#include "paradox_test_support.h"
#include "paradox_writer.h"
#include "support/case_names.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <set>
#include <utility>

namespace kalvian::paradox {
namespace {

namespace fs = std::filesystem;
using kalvian::test::TempFolder;
using test::codesOf;
using test::errorOf;
using test::firstCodes;
using test::kBlock;
using test::kHeader;
using test::kRows;
using test::numberedRows;
using test::selectedCodesOf;
using test::writeBytes;

// The blocks of the chain, read from the file's bytes without the reader.
std::set<std::size_t> chainBlocks(const std::vector<std::byte>& file) {
    const auto word = [&](std::size_t at) {
        return static_cast<std::size_t>(file[at]) | static_cast<std::size_t>(file[at + 1]) << 8;
    };
    std::set<std::size_t> chain;
    for (std::size_t block = word(0x0E); block != 0 && chain.insert(block).second;
         block = word(kHeader + (block - 1) * kBlock)) {
    }
    return chain;
}

// A table in memory that notes every read made of it.
class CountingSource : public ByteSource {
public:
    CountingSource(std::vector<std::byte> bytes, std::vector<std::pair<std::uint64_t, std::size_t>>& reads)
        : m_bytes(std::move(bytes), "CONTADA.DB"), m_reads(reads) {}

    const std::string& name() const override { return m_bytes.name(); }
    std::uint64_t size() const override { return m_bytes.size(); }
    std::size_t readAt(std::uint64_t offset, std::span<std::byte> out) const override {
        const std::size_t got = m_bytes.readAt(offset, out);
        m_reads.emplace_back(offset, got);
        return got;
    }

private:
    BufferSource m_bytes;
    std::vector<std::pair<std::uint64_t, std::size_t>>& m_reads;
};

// ---- each block once, in chain order

struct PlacementCase {
    const char* name;
    BlockPlacement placement;
};

// Reads of the data area, byte by byte: how many times each was read.
std::vector<int> timesEachByteWasRead(const std::vector<std::pair<std::uint64_t, std::size_t>>& reads,
                                      std::size_t size) {
    std::vector<int> times(size, 0);
    for (const auto& [offset, length] : reads) {
        for (std::size_t at = offset; at < offset + length; ++at) {
            ++times[at];
        }
    }
    return times;
}

// After the reading, the header is read once more, whole, to see it unchanged; that read is taken off.
bool headerReadAgainLast(std::vector<std::pair<std::uint64_t, std::size_t>>& reads) {
    const bool last = !reads.empty() && reads.back() == std::pair<std::uint64_t, std::size_t>{0, kHeader};
    if (last) {
        reads.pop_back();
    }
    return last;
}

class BlockReadingTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(BlockReadingTest, ScanReadsEachBlockOfTheChainOnceAndDeliversTheRowsInChainOrder) {
    const std::vector<std::byte> file = numberedRows().build(GetParam().placement);
    std::vector<std::pair<std::uint64_t, std::size_t>> reads;
    const Table table = Table::fromSource(std::make_unique<CountingSource>(file, reads));
    reads.clear(); // the header's reads
    EXPECT_EQ(codesOf(table), firstCodes(kRows));
    ASSERT_TRUE(headerReadAgainLast(reads));

    // Every byte read belongs to a block of the chain, no byte is read twice, and every block of the chain
    // is read whole: free blocks and the gaps the shuffle leaves are never touched.
    const std::set<std::size_t> chain = chainBlocks(file);
    const std::vector<int> timesRead = timesEachByteWasRead(reads, file.size());
    std::size_t bytesRead = 0;
    for (std::size_t at = kHeader; at < file.size(); ++at) {
        const std::size_t block = (at - kHeader) / kBlock + 1;
        ASSERT_EQ(timesRead[at], chain.count(block)) << "byte " << at << " of block " << block;
        bytesRead += static_cast<std::size_t>(timesRead[at]);
    }
    EXPECT_EQ(bytesRead, chain.size() * kBlock);
    EXPECT_EQ(reads.size(), chain.size());
}

TEST_P(BlockReadingTest, SelectionReadsTheFileOnceInItsOrderAndKeepsTheChainsOrder) {
    const std::vector<std::byte> file = numberedRows().build(GetParam().placement);
    std::vector<std::pair<std::uint64_t, std::size_t>> reads;
    const Table table = Table::fromSource(std::make_unique<CountingSource>(file, reads));
    reads.clear();
    const FieldInfo& code = table.field("CODIGO");
    std::size_t seen = 0;
    const RecordSet rows = table.select([&](std::span<const std::byte> record) {
        ++seen;
        return integer(record, code).value_or(-1) % 3 == 0;
    });
    ASSERT_TRUE(headerReadAgainLast(reads));

    std::vector<std::int32_t> kept;
    for (const std::uint32_t index : rows.chainOrder) {
        kept.push_back(integer(rows.record(index), code).value_or(-1));
    }
    std::vector<std::int32_t> everyThird;
    for (std::int32_t n = 0; n < static_cast<std::int32_t>(kRows); n += 3) {
        everyThird.push_back(n);
    }
    EXPECT_EQ(kept, everyThird);
    // Free blocks hold stale copies of rows: the filter sees them, the chain never delivers them.
    EXPECT_GE(seen, kRows);
    EXPECT_EQ(seen > kRows, GetParam().placement.freeBlocks > 0);

    // Every byte after the header read once, in file order, in reads no smaller than the file allows.
    const std::vector<int> times = timesEachByteWasRead(reads, file.size());
    EXPECT_TRUE(std::all_of(times.begin() + kHeader, times.end(), [](int n) { return n == 1; }));
    EXPECT_TRUE(std::is_sorted(reads.begin(), reads.end()));
    EXPECT_EQ(reads.size(), 1u); // the table is smaller than one read
}

TEST_P(BlockReadingTest, RowsLinedUpAlongTheChainLieInItsOrderWithoutStaleOnes) {
    const Table table = Table::fromBytes(numberedRows().build(GetParam().placement), "ALINHADA.DB");
    const FieldInfo& code = table.field("CODIGO");
    RecordSet rows = table.select(
        [&](std::span<const std::byte> record) { return integer(record, code).value_or(0) % 2 == 1; });
    rows.lineUpAlongChain();
    ASSERT_EQ(rows.bytes.size(), rows.chainOrder.size() * rows.recordSize);
    for (std::uint32_t i = 0; i < rows.chainOrder.size(); ++i) {
        ASSERT_EQ(rows.chainOrder[i], i);
        ASSERT_EQ(integer(rows.record(i), code), static_cast<std::int32_t>(2 * i + 1)) << "row " << i;
    }
    EXPECT_EQ(rows.chainOrder.size(), kRows / 2);
}

TEST_P(BlockReadingTest, SortingKeepsEachBucketsRowsTogetherInChainOrder) {
    const std::vector<std::byte> file = numberedRows().build(GetParam().placement);
    std::vector<std::pair<std::uint64_t, std::size_t>> reads;
    const Table table = Table::fromSource(std::make_unique<CountingSource>(file, reads));
    reads.clear();
    const FieldInfo& code = table.field("CODIGO");
    // Codes ending in 0 skipped, the others sorted by their last digit.
    const std::vector<RecordSet> buckets = table.selectIntoBuckets([&](std::span<const std::byte> record) {
        const auto last = static_cast<std::uint32_t>(integer(record, code).value_or(0) % 10);
        return last == 0 ? Table::kSkip : last;
    });
    ASSERT_EQ(buckets.size(), 10u);
    EXPECT_TRUE(buckets[0].chainOrder.empty());
    for (std::uint32_t digit = 1; digit < 10; ++digit) {
        std::vector<std::int32_t> codes;
        for (const std::uint32_t index : buckets[digit].chainOrder) {
            codes.push_back(integer(buckets[digit].record(index), code).value_or(-1));
        }
        std::vector<std::int32_t> expected;
        for (auto n = static_cast<std::int32_t>(digit); n < static_cast<std::int32_t>(kRows); n += 10) {
            expected.push_back(n);
        }
        EXPECT_EQ(codes, expected) << "digit " << digit;
        // Stale copies of rows in free blocks are kept with the others but never in the order.
        EXPECT_GE(buckets[digit].bytes.size(), expected.size() * buckets[digit].recordSize);
    }
    const std::vector<int> times = timesEachByteWasRead(reads, file.size());
    EXPECT_TRUE(std::all_of(times.begin() + kHeader, times.end(), [](int n) { return n == 1; }));
}

INSTANTIATE_TEST_SUITE_P(
    Placements, BlockReadingTest,
    ::testing::Values(PlacementCase{"em-ordem", {}}, PlacementCase{"embaralhada", {true, 5, 0}},
                      PlacementCase{"embaralhada-com-blocos-livres", {true, 5, 4}},
                      PlacementCase{"meio-cheia", {false, 5, 0, 1}},
                      PlacementCase{"embaralhada-meio-cheia-com-livres", {true, 9, 4, 1}}),
    kalvian::test::ByCaseName{});

// ---- files changed while they are read

// Overwrites bytes in place, keeping the file's size.
void overwrite(const fs::path& path, std::size_t at, std::size_t count, char value) {
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(at));
    out << std::string(count, value);
}

struct ChangeCase {
    const char* name;
    // Whether the change comes before the reading or while it runs (once it has seen its first records).
    bool beforeReading;
    std::function<void(const fs::path&)> change;
};

class ChangedWhileReadTest : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ChangedWhileReadTest, SaysTheFileChangedAndKeepsNoRows) {
    const TempFolder dir;
    const fs::path path = dir.path() / "DSEMI.DB";
    const std::string changed =
        "Não foi possível ler a tabela: " + path.string() + " (o arquivo mudou durante a leitura)";
    const ChangeCase& c = GetParam();
    // The change, at its moment, then the reading's first sight of records.
    const auto reading = [&](const std::function<void(const Table&, const std::function<void()>&)>& read) {
        writeBytes(path, numberedRows().build({true, 3, 2}));
        const Table table = Table::open(path.string());
        if (c.beforeReading) {
            c.change(path);
        }
        bool first = true;
        return errorOf([&] {
            read(table, [&] {
                if (std::exchange(first, false) && !c.beforeReading) {
                    c.change(path);
                }
            });
        });
    };
    EXPECT_EQ(reading([](const Table& table, const std::function<void()>& seen) {
                  table.scanBlocks([&](std::span<const std::byte>) { seen(); });
              }),
              changed)
        << "scan";
    EXPECT_EQ(reading([](const Table& table, const std::function<void()>& seen) {
                  table.select([&](std::span<const std::byte>) {
                      seen();
                      return true;
                  });
              }),
              changed)
        << "select";
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ChangedWhileReadTest,
    ::testing::Values(
        // Only the header left: every block is past the end.
        ChangeCase{"encurtada-ao-cabecalho-antes-da-leitura", true,
                   [](const fs::path& p) { fs::resize_file(p, kHeader); }},
        ChangeCase{"encurtada-ao-cabecalho-durante-a-leitura", false,
                   [](const fs::path& p) { fs::resize_file(p, kHeader); }},
        // Cut inside a block, its head and some records left.
        ChangeCase{"encurtada-no-meio-de-um-bloco", false,
                   [](const fs::path& p) { fs::resize_file(p, kHeader + 10 * kBlock + 1000); }},
        ChangeCase{"esvaziada", false, [](const fs::path& p) { fs::resize_file(p, 0); }},
        ChangeCase{"aumentada", false,
                   [](const fs::path& p) { fs::resize_file(p, fs::file_size(p) + kBlock); }},
        // Same size, other bytes: the modification time tells. It is set apart explicitly, as the clock
        // the file system stamps files with may not have moved since the file was written.
        ChangeCase{"reescrita-com-o-mesmo-tamanho", false,
                   [](const fs::path& p) {
                       const auto written = fs::last_write_time(p);
                       overwrite(p, kHeader + kBlock, 3 * kBlock, 'x');
                       fs::last_write_time(p, written + std::chrono::seconds(2));
                   }},
        // An edit in place where the time does not move (FAT, shares): the header's change counter tells.
        ChangeCase{"contador-do-cabecalho-sem-mudar-tamanho-nem-hora", false,
                   [](const fs::path& p) { test::bumpChangeCounter(p); }}),
    kalvian::test::ByCaseName{});

} // namespace
} // namespace kalvian::paradox
