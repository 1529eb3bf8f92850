// Tables written to disk by our writer at test time, read back by the reader: every level, code page,
// block size and block placement the writer offers, with NULLs in every field.
#include "demo_table.h"
#include "paradox/field_decoders.h"
#include "paradox/table.h"
#include "paradox_test_support.h"
#include "paradox_writer.h"
#include "support/case_names.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace kalvian::paradox {
namespace {

using kalvian::test::TempFolder;
using test::errorOf;

// A field read back in the writer's terms, so rows can be compared with what was written.
WriterValue readBack(const Table& table, std::span<const std::byte> record, const FieldInfo& field) {
    const auto wrap = [](const auto& value) { return value ? WriterValue(*value) : WriterValue(); };
    switch (field.type) {
    case FieldType::Alpha:
        return wrap(table.text(record, field));
    case FieldType::Number:
    case FieldType::Currency:
        return wrap(number(record, field));
    case FieldType::Date:
        return wrap(date(record, field));
    case FieldType::Timestamp:
        return wrap(timestamp(record, field));
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        return wrap(integer(record, field));
    case FieldType::Time:
        return wrap(timeOfDay(record, field));
    case FieldType::Logical:
        return wrap(logical(record, field));
    case FieldType::Bytes:
        return wrap(bytes(record, field));
    default:
        return WriterValue();
    }
}

std::vector<std::byte> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return std::vector<std::byte>(reinterpret_cast<const std::byte*>(chars.data()),
                                  reinterpret_cast<const std::byte*>(chars.data() + chars.size()));
}

// The block numbers of the chain as stored in the file, read without the reader.
std::vector<int> chainOf(const std::vector<std::byte>& file, int blockSize) {
    const auto word = [&](std::size_t at) {
        return static_cast<int>(file[at]) | static_cast<int>(file[at + 1]) << 8;
    };
    const auto headerSize = static_cast<std::size_t>(word(2));
    std::vector<int> chain;
    for (int block = word(0x0E); block != 0 && chain.size() < 1000;
         block =
             word(headerSize + static_cast<std::size_t>(block - 1) * static_cast<std::size_t>(blockSize))) {
        chain.push_back(block);
    }
    return chain;
}

constexpr double kHalfMillisecond = 0.5 / 86400000.0;

struct RoundTripCase {
    int level;
    int codePage;
    int blockSize;
    bool shuffled;
    int freeBlocks;
    int minimumFillPercent = 100;
};

class WriterRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(WriterRoundTripTest, ReadsBackEveryRowInOrder) {
    const RoundTripCase& c = GetParam();
    constexpr std::size_t kRows = 500; // 17 blocks of 2K, 9 of 4K
    TableWriter writer(demoLayout(c.level, c.codePage, c.blockSize));
    std::vector<std::vector<WriterValue>> written;
    for (std::size_t i = 0; i < kRows; ++i) {
        written.push_back(demoRow(i));
        writer.addRow(written.back());
    }
    const TempFolder dir;
    const std::filesystem::path path = (dir.path() / "DEMO.DB");
    writer.writeFile(path, {c.shuffled, 7, c.freeBlocks, c.minimumFillPercent});

    const Table table = Table::open(path.string());
    EXPECT_EQ(table.versionCode(), c.level == 7 ? 12 : 9);
    EXPECT_EQ(table.codePage(), c.codePage);
    EXPECT_EQ(table.blockSize(), c.blockSize);
    EXPECT_EQ(table.recordCount(), kRows);
    EXPECT_EQ(table.field("pre\xC7o").type, FieldType::Currency);
    std::size_t row = 0;
    table.scan([&](std::span<const std::byte> record) {
        ASSERT_LT(row, kRows);
        for (std::size_t f = 0; f < table.fields().size(); ++f) {
            const WriterValue value = readBack(table, record, table.fields()[f]);
            const double* stamp = std::get_if<double>(&value);
            if (table.fields()[f].type == FieldType::Timestamp && stamp != nullptr) {
                // Timestamps are stored in whole milliseconds.
                EXPECT_NEAR(*stamp, std::get<double>(written[row][f]), kHalfMillisecond) << "row " << row;
                continue;
            }
            EXPECT_EQ(value, written[row][f]) << "row " << row << " field " << f;
        }
        ++row;
    });
    EXPECT_EQ(row, kRows);

    const std::vector<int> chain = chainOf(fileBytes(path), c.blockSize);
    const std::size_t perBlock = (static_cast<std::size_t>(c.blockSize) - 6) / 67;
    const std::size_t full = (kRows + perBlock - 1) / perBlock;
    if (c.minimumFillPercent < 100) {
        // Random fills from one row to full: more blocks than full ones would take, never one per row.
        EXPECT_GT(chain.size(), full);
        EXPECT_LT(chain.size(), kRows / 2);
    } else {
        EXPECT_EQ(chain.size(), full);
    }
    EXPECT_EQ(std::is_sorted(chain.begin(), chain.end()), !c.shuffled && c.freeBlocks == 0);
    EXPECT_EQ(std::filesystem::file_size(path),
              2048u + (chain.size() + static_cast<std::size_t>(c.freeBlocks)) *
                          static_cast<std::size_t>(c.blockSize));
}

std::vector<RoundTripCase> roundTripCases() {
    std::vector<RoundTripCase> cases;
    for (const int level : {4, 7}) {
        for (const int codePage : {850, 1252}) {
            for (const int blockSize : {2048, 4096}) {
                cases.push_back({level, codePage, blockSize, false, 0});
                cases.push_back({level, codePage, blockSize, true, 0});
                cases.push_back({level, codePage, blockSize, true, 3});
                cases.push_back({level, codePage, blockSize, true, 3, 1});
            }
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Layouts, WriterRoundTripTest, ::testing::ValuesIn(roundTripCases()),
                         [](const auto& info) {
                             const RoundTripCase& c = info.param;
                             return "level" + std::to_string(c.level) + "_cp" + std::to_string(c.codePage) +
                                    "_" + std::to_string(c.blockSize) +
                                    (c.shuffled ? "_shuffled" : "_inorder") + "_free" +
                                    std::to_string(c.freeBlocks) +
                                    (c.minimumFillPercent < 100 ? "_partly_filled" : "");
                         });

TEST(WriterRoundTrip, EmptyTableHasNoBlocks) {
    const TempFolder dir;
    TableWriter(demoLayout(7, 1252, 2048)).writeFile((dir.path() / "EMPTY.DB"));
    const Table table = Table::open((dir.path() / "EMPTY.DB").string());
    EXPECT_EQ(table.recordCount(), 0u);
    EXPECT_EQ(test::readRows(table), std::vector<std::string>{});
    EXPECT_EQ(std::filesystem::file_size((dir.path() / "EMPTY.DB")), 2048u);
}

TEST(WriterRoundTrip, Cp850TextIsStoredInCp850) {
    TableWriter writer({4, 850, 2048, {{"NOME", FieldType::Alpha, 8}}});
    writer.addRow({std::string("S\xE3o")}); // "São" in Windows-1252
    const std::vector<std::byte> file = writer.build();
    // "São" in code page 850: S, C6, o.
    const std::vector<std::byte> expected = {std::byte{'S'}, std::byte{0xC6}, std::byte{'o'}};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), file.begin() + 2048 + 6));
}

// ---- what the writer refuses ----

struct RefusalCase {
    const char* name;
    std::function<void()> action;
    const char* message;
};

class WriterRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(WriterRefusalTest, RefusesWithAClearMessage) {
    EXPECT_EQ(errorOf(GetParam().action), GetParam().message);
}

TableWriter oneText(int size) {
    return TableWriter({7, 850, 2048, {{"NOME", FieldType::Alpha, size}}});
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, WriterRefusalTest,
    ::testing::Values(
        RefusalCase{"level5", [] { TableWriter(demoLayout(5, 850, 2048)); },
                    "Nível de tabela que o gravador não escreve: 5"},
        RefusalCase{"block1k", [] { TableWriter(demoLayout(7, 850, 1024)); },
                    "Tamanho de bloco que o gravador não escreve: 1024"},
        RefusalCase{"unknown_code_page", [] { TableWriter(demoLayout(7, 99999, 2048)); },
                    "Página de código ou lista de campos que o gravador não escreve"},
        RefusalCase{"bcd",
                    [] {
                        TableWriter({7, 850, 2048, {{"B", FieldType::Bcd, 2}}});
                    },
                    "Campo que o gravador não escreve: B"},
        RefusalCase{"alpha_size_0", [] { oneText(0); }, "Campo que o gravador não escreve: NOME"},
        RefusalCase{"row_too_short", [] { oneText(5).addRow({}); }, "Linha com 0 valores para 1 campos"},
        RefusalCase{"wrong_value_type", [] { oneText(5).addRow({1.5}); },
                    "Valor de tipo errado para o campo NOME"},
        RefusalCase{"text_too_long", [] { oneText(2).addRow({std::string("abc")}); },
                    "Texto maior que o campo NOME"},
        // The euro sign has no form in code page 850.
        RefusalCase{"euro_in_cp850", [] { oneText(5).addRow({std::string("\x80")}); },
                    "Texto sem forma na página de código da tabela, campo NOME"}),
    kalvian::test::ByCaseName{});

} // namespace
} // namespace kalvian::paradox
