// How a table's blocks are read: each block of the chain once, where it lies, whatever the chain's order;
// and a file that another program shortens, extends or rewrites while it is read gives a clear message,
// never a crash and never rows half old and half new.
#include "common/error.h"
#include "paradox_test_support.h"
#include "paradox_writer.h"
#include "source/buffer_source.h"
#include "source/field_decoders.h"
#include "source/table.h"
#include "support/case_names.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvian::paradox {
namespace {

namespace fs = std::filesystem;
using kalvian::test::TempFolder;
using test::errorOf;

// CODIGO long + NOME alpha(20): 24-byte records, 85 to a 2K block.
constexpr std::size_t kRows = 3000;
constexpr std::size_t kHeader = 2048;
constexpr std::size_t kBlock = 2048;

TableWriter numberedRows(std::size_t rows = kRows) {
    TableWriter writer(
        {7, 850, static_cast<int>(kBlock), {{"CODIGO", FieldType::Long}, {"NOME", FieldType::Alpha, 20}}});
    for (std::size_t i = 0; i < rows; ++i) {
        writer.addRow({static_cast<std::int32_t>(i), "linha " + std::to_string(i)});
    }
    return writer;
}

// The CODIGO of every row, in the order the scan delivers them.
std::vector<std::int32_t> codesOf(const Table& table) {
    const FieldInfo& code = table.field("CODIGO");
    std::vector<std::int32_t> codes;
    table.scan(
        [&](std::span<const std::byte> record) { codes.push_back(integer(record, code).value_or(-1)); });
    return codes;
}

std::vector<std::int32_t> firstCodes(std::size_t rows) {
    std::vector<std::int32_t> codes(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        codes[i] = static_cast<std::int32_t>(i);
    }
    return codes;
}

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

class BlockReadingTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(BlockReadingTest, ReadsEachBlockOfTheChainOnceAndDeliversTheRowsInChainOrder) {
    const std::vector<std::byte> file = numberedRows().build(GetParam().placement);
    std::vector<std::pair<std::uint64_t, std::size_t>> reads;
    const Table table = Table::fromSource(std::make_unique<CountingSource>(file, reads));
    reads.clear(); // the header's reads
    EXPECT_EQ(codesOf(table), firstCodes(kRows));

    // Every byte read belongs to a block of the chain, no byte is read twice, and every block of the chain
    // is read whole: free blocks and the gaps the shuffle leaves are never touched.
    const std::set<std::size_t> chain = chainBlocks(file);
    std::vector<int> timesRead(file.size(), 0);
    for (const auto& [offset, length] : reads) {
        for (std::size_t at = offset; at < offset + length; ++at) {
            ++timesRead[at];
        }
    }
    std::size_t bytesRead = 0;
    for (std::size_t at = kHeader; at < file.size(); ++at) {
        const std::size_t block = (at - kHeader) / kBlock + 1;
        ASSERT_EQ(timesRead[at], chain.count(block)) << "byte " << at << " of block " << block;
        bytesRead += static_cast<std::size_t>(timesRead[at]);
    }
    EXPECT_EQ(bytesRead, chain.size() * kBlock);
    EXPECT_EQ(reads.size(), chain.size());
}

INSTANTIATE_TEST_SUITE_P(
    Placements, BlockReadingTest,
    ::testing::Values(PlacementCase{"em-ordem", {}}, PlacementCase{"embaralhada", {true, 5, 0}},
                      PlacementCase{"embaralhada-com-blocos-livres", {true, 5, 4}},
                      PlacementCase{"meio-cheia", {false, 5, 0, true}},
                      PlacementCase{"embaralhada-meio-cheia-com-livres", {true, 9, 4, true}}),
    kalvian::test::ByCaseName{});

// ---- files changed while they are read

void writeBytes(const fs::path& path, const std::vector<std::byte>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Overwrites bytes in place, keeping the file's size.
void overwrite(const fs::path& path, std::size_t at, std::size_t count, char value) {
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(at));
    out << std::string(count, value);
}

struct ChangeCase {
    const char* name;
    // Whether the change comes before the first block or once the first block has been delivered.
    bool beforeScan;
    std::function<void(const fs::path&)> change;
};

class ChangedWhileReadTest : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ChangedWhileReadTest, SaysTheFileChangedAndKeepsNoRows) {
    const TempFolder dir;
    const fs::path path = dir.path() / "DSEMI.DB";
    writeBytes(path, numberedRows().build({true, 3, 2}));
    const Table table = Table::open(path);
    if (GetParam().beforeScan) {
        GetParam().change(path);
    }
    std::size_t blocks = 0;
    const std::string message = errorOf([&] {
        table.scanBlocks([&](std::span<const std::byte>) {
            if (++blocks == 1 && !GetParam().beforeScan) {
                GetParam().change(path);
            }
        });
    });
    EXPECT_EQ(message,
              "Não foi possível ler a tabela: " + path.string() + " (o arquivo mudou durante a leitura)");
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ChangedWhileReadTest,
    ::testing::Values(
        // Only the header left: every block of the map is past the end (SIGBUS on the first copy).
        ChangeCase{"encurtada-ao-cabecalho-antes-da-leitura", true,
                   [](const fs::path& p) { fs::resize_file(p, kHeader); }},
        ChangeCase{"encurtada-ao-cabecalho-durante-a-leitura", false,
                   [](const fs::path& p) { fs::resize_file(p, kHeader); }},
        // Cut inside a page: the rest of that page reads as zeros, the pages after it raise SIGBUS.
        ChangeCase{"encurtada-no-meio-de-uma-pagina", false,
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
                   }}),
    kalvian::test::ByCaseName{});

TEST(ChangedWhileRead, AFileReplacedByRenameIsReadAsItWasOpened) {
    const TempFolder dir;
    const fs::path path = dir.path() / "DSEMI.DB";
    writeBytes(path, numberedRows().build({true, 3, 2}));
    writeBytes(dir.path() / "NOVA.DB", numberedRows(10).build());
    const Table table = Table::open(path);
    // Safe writers replace a file by renaming a new one over it: the open file keeps its old bytes.
    fs::rename(dir.path() / "NOVA.DB", path);
    EXPECT_EQ(codesOf(table), firstCodes(kRows));
    EXPECT_EQ(codesOf(Table::open(path)), firstCodes(10));
}

// Another process that cuts a table to a few blocks and writes it back whole, again and again, pausing in
// between; killed when this goes away.
class Cutter {
public:
    Cutter(const fs::path& path, const std::vector<std::byte>& good) : m_pid(::fork()) {
        if (m_pid != 0) {
            return;
        }
        const int fd = ::open(path.c_str(), O_WRONLY);
        for (std::size_t round = 0;; ++round) {
            if (::ftruncate(fd, static_cast<off_t>(kHeader + (round % 7) * kBlock)) != 0 ||
                ::pwrite(fd, good.data(), good.size(), 0) != static_cast<ssize_t>(good.size())) {
                ::_exit(3);
            }
            ::usleep(30000);
        }
    }
    ~Cutter() { stop(); }
    Cutter(const Cutter&) = delete;
    Cutter& operator=(const Cutter&) = delete;

    // True when the cutter was still at work until now.
    bool stop() {
        if (m_pid <= 0) {
            return false;
        }
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

private:
    pid_t m_pid;
};

TEST(ChangedWhileRead, AnotherProcessCuttingAndRestoringTheFileNeverCrashesTheReader) {
    const TempFolder dir;
    const fs::path path = dir.path() / "DSEMI.DB";
    const std::vector<std::byte> good = numberedRows(20000).build({true, 11, 5, true});
    writeBytes(path, good);
    Cutter cutter(path, good);

    // Scans until both outcomes have been seen often enough: the table read whole between two cuts, and
    // refused when a cut came before or during the scan.
    std::size_t whole = 0;
    std::size_t refused = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while ((whole < 10 || refused < 10) && std::chrono::steady_clock::now() < deadline) {
        try {
            const Table table = Table::open(path);
            // A scan that ends without a message has read the table whole and as written.
            ASSERT_EQ(codesOf(table), firstCodes(20000));
            ++whole;
        } catch (const kalvian::Error& error) {
            const std::string text = error.what();
            const bool clear = text.starts_with("Não foi possível ler a tabela: " + path.string() + " (") ||
                               text.starts_with("Tabela danificada: " + path.string() + " (");
            ASSERT_TRUE(clear) << text;
            ++refused;
        }
    }
    EXPECT_TRUE(cutter.stop()) << "the cutter stopped by itself";
    EXPECT_GE(whole, 10u);
    EXPECT_GE(refused, 10u);
}

// A SIGBUS that is no copy of the reader's still ends the process, as it would without the reader.
TEST(ChangedWhileRead, ABusErrorElsewhereStillEndsTheProcess) {
    const TempFolder dir;
    const fs::path path = dir.path() / "DSEMI.DB";
    writeBytes(path, numberedRows().build());
    const auto diesOfIt = [](int status) {
        // Under the address sanitizer its own handler reports the fault and exits instead.
        return (WIFSIGNALED(status) && WTERMSIG(status) == SIGBUS) ||
               (WIFEXITED(status) && WEXITSTATUS(status) != 0);
    };
    EXPECT_EXIT(
        {
            const Table table = Table::open(path); // installs the reader's handler
            const int fd = ::open(path.c_str(), O_RDONLY);
            const auto size = static_cast<std::size_t>(fs::file_size(path));
            const auto* bytes =
                static_cast<const volatile char*>(::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0));
            fs::resize_file(path, 0);
            std::fprintf(stderr, "%d\n", bytes[size - 1]);
            std::_Exit(0);
        },
        diesOfIt, "");
}

} // namespace
} // namespace kalvian::paradox
