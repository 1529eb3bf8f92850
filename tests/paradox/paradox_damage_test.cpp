// Damaged tables: a good table written by our writer, then one thing broken in the file on disk. Each gives
// its own message naming the file, never a crash, and the file is left as it was.
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

// CODIGO long + NOME alpha(10): 14-byte records, 145 to a 2K block; 400 rows fill blocks 1, 2 and 3
// (110 rows in the last), stored in order after a 2048-byte header.
constexpr std::size_t kRows = 400;
constexpr std::size_t kHeader = 2048;
constexpr std::size_t kBlock = 2048;

std::vector<std::byte> goodTable() {
    TableWriter writer({7, 1252, 2048, {{"CODIGO", FieldType::Long}, {"NOME", FieldType::Alpha, 10}}});
    for (std::size_t i = 0; i < kRows; ++i) {
        writer.addRow({static_cast<std::int32_t>(i), std::string("linha")});
    }
    return writer.build();
}

std::size_t blockAt(int number) {
    return kHeader + static_cast<std::size_t>(number - 1) * kBlock;
}

void putWord(std::vector<std::byte>& file, std::size_t at, unsigned value) {
    file[at] = static_cast<std::byte>(value & 0xFFu);
    file[at + 1] = static_cast<std::byte>(value >> 8);
}

using Damage = std::function<void(std::vector<std::byte>&)>;

Damage word(std::size_t at, unsigned value) {
    return [=](std::vector<std::byte>& file) { putWord(file, at, value); };
}

Damage byteAt(std::size_t at, unsigned value) {
    return [=](std::vector<std::byte>& file) { file[at] = static_cast<std::byte>(value); };
}

Damage cutTo(std::size_t size) {
    return [=](std::vector<std::byte>& file) { file.resize(size); };
}

enum class Kind { Damaged, Encrypted, NotData };

struct DamageCase {
    const char* name;
    Damage damage;
    Kind kind;
    const char* what; // the part in parentheses
};

std::string expectedMessage(const DamageCase& c, const std::string& path) {
    switch (c.kind) {
    case Kind::Encrypted:
        return "Tabela criptografada não suportada: " + path;
    case Kind::NotData:
        return "Arquivo não é uma tabela de dados Paradox: " + path + " (" + c.what + ")";
    case Kind::Damaged:
        break;
    }
    return "Tabela danificada: " + path + " (" + c.what + ")";
}

std::vector<std::byte> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto* first = reinterpret_cast<const std::byte*>(chars.data());
    return std::vector<std::byte>(first, first + chars.size());
}

void writeFile(const std::filesystem::path& path, const std::vector<std::byte>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class DamagedTableTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedTableTest, GivesItsMessageAndLeavesTheFileAlone) {
    std::vector<std::byte> bytes = goodTable();
    GetParam().damage(bytes);
    const TempFolder dir;
    const std::filesystem::path path = (dir.path() / "DSEMI.DB");
    writeFile(path, bytes);
    EXPECT_EQ(errorOf([&] {
                  const Table table = Table::open(path.string());
                  table.scan([](std::span<const std::byte>) {});
              }),
              expectedMessage(GetParam(), path.string()));
    EXPECT_EQ(readFile(path), bytes);
    // The same bytes from memory give the same message under the given name.
    EXPECT_EQ(errorOf([&] { Table::fromBytes(bytes, "mem.db").scan([](std::span<const std::byte>) {}); }),
              expectedMessage(GetParam(), "mem.db"));
}

// Header offsets: 0x00 record size, 0x02 header size, 0x04 file type, 0x05 block KB, 0x06 record count,
// 0x0E first block, 0x21 field count, 0x39 version, 0x5C encryption key, 0x78 field descriptors.
INSTANTIATE_TEST_SUITE_P(
    Header, DamagedTableTest,
    ::testing::Values(
        DamageCase{"tiny_file", cutTo(40), Kind::Damaged, "arquivo menor que um cabeçalho, 40 bytes"},
        DamageCase{"empty_file", cutTo(0), Kind::Damaged, "arquivo menor que um cabeçalho, 0 bytes"},
        DamageCase{"index_file", byteAt(0x04, 1), Kind::NotData, "tipo de arquivo 1"},
        DamageCase{"version_2", byteAt(0x39, 2), Kind::Damaged, "versão desconhecida 2"},
        DamageCase{"version_13", byteAt(0x39, 13), Kind::Damaged, "versão desconhecida 13"},
        DamageCase{"block_5k", byteAt(0x05, 5), Kind::Damaged, "tamanho de bloco inválido: 5 KB"},
        DamageCase{"block_0k", byteAt(0x05, 0), Kind::Damaged, "tamanho de bloco inválido: 0 KB"},
        DamageCase{"header_size_2", word(0x02, 2), Kind::Damaged, "tamanho do cabeçalho inválido: 2"},
        DamageCase{"header_past_end", word(0x02, 0xFFFF), Kind::Damaged,
                   "arquivo menor que o cabeçalho, 8192 de 65535 bytes"},
        DamageCase{"cut_inside_header", cutTo(1000), Kind::Damaged,
                   "arquivo menor que o cabeçalho, 1000 de 2048 bytes"},
        DamageCase{"record_size_0", word(0x00, 0), Kind::Damaged, "tamanho de registro inválido: 0"},
        DamageCase{"record_size_1", word(0x00, 1), Kind::Damaged,
                   "os campos somam 14 bytes e o registro tem 1"},
        DamageCase{"record_larger_than_block", word(0x00, 3000), Kind::Damaged,
                   "tamanho de registro inválido: 3000"},
        DamageCase{"no_fields", word(0x21, 0), Kind::Damaged, "número de campos inválido: 0"},
        DamageCase{"fields_past_header", word(0x21, 2000), Kind::Damaged, "número de campos inválido: 2000"},
        DamageCase{"unknown_type", byteAt(0x78, 0x07), Kind::Damaged, "campo 1 de tipo desconhecido: 7"},
        DamageCase{"long_of_5_bytes", byteAt(0x79, 5), Kind::Damaged, "campo 1 de tamanho inválido: 5"},
        DamageCase{"alpha_of_0_bytes", byteAt(0x7B, 0), Kind::Damaged, "campo 2 de tamanho inválido: 0"},
        DamageCase{"names_without_end",
                   [](std::vector<std::byte>& file) {
                       // The level 7 field names start at 0x18D.
                       std::fill(file.begin() + 0x180, file.begin() + static_cast<std::ptrdiff_t>(kHeader),
                                 std::byte{'A'});
                   },
                   Kind::Damaged, "nomes dos campos fora do cabeçalho"},
        DamageCase{"encrypted", byteAt(0x5C, 1), Kind::Encrypted, ""}),
    kalvian::test::ByCaseName{});

INSTANTIATE_TEST_SUITE_P(
    Chain, DamagedTableTest,
    ::testing::Values(
        DamageCase{"loop_back_to_1", word(blockAt(2), 1), Kind::Damaged,
                   "a cadeia de blocos volta ao bloco 1"},
        DamageCase{"loop_to_itself", word(blockAt(3), 3), Kind::Damaged,
                   "a cadeia de blocos volta ao bloco 3"},
        DamageCase{"first_block_past_end", word(0x0E, 50), Kind::Damaged, "bloco 50 fora do arquivo"},
        DamageCase{"next_block_past_end", word(blockAt(1), 0xFFFF), Kind::Damaged,
                   "bloco 65535 fora do arquivo"},
        DamageCase{"last_block_cut_away", cutTo(blockAt(3)), Kind::Damaged, "bloco 3 fora do arquivo"},
        DamageCase{"last_block_head_cut", cutTo(blockAt(3) + 4), Kind::Damaged, "bloco 3 fora do arquivo"},
        DamageCase{"last_block_only_head", cutTo(blockAt(3) + 6), Kind::Damaged,
                   "os blocos têm 290 registros e o cabeçalho declara 400"},
        DamageCase{"last_block_cut_into_records", cutTo(blockAt(3) + 6 + 14 * 100 + 5), Kind::Damaged,
                   "os blocos têm 390 registros e o cabeçalho declara 400"},
        DamageCase{"chain_ends_early", word(blockAt(1), 0), Kind::Damaged,
                   "os blocos têm 145 registros e o cabeçalho declara 400"},
        DamageCase{"count_too_high", word(0x06, 401), Kind::Damaged,
                   "os blocos têm 400 registros e o cabeçalho declara 401"},
        DamageCase{"no_first_block", word(0x0E, 0), Kind::Damaged,
                   "os blocos têm 0 registros e o cabeçalho declara 400"},
        DamageCase{"data_size_not_whole_records", word(blockAt(1) + 4, 13), Kind::Damaged,
                   "bloco 1 com tamanho de dados inválido: 13"},
        DamageCase{"data_size_past_block", word(blockAt(1) + 4, 14 * 146), Kind::Damaged,
                   "bloco 1 com tamanho de dados inválido: 2044"}),
    kalvian::test::ByCaseName{});

TEST(DamagedTable, LastBlockCutAfterItsRecordsStillYieldsThemAll) {
    std::vector<std::byte> bytes = goodTable();
    bytes.resize(blockAt(3) + 6 + 14 * 110);
    std::size_t rows = 0;
    Table::fromBytes(bytes, "cut.db").scan([&](std::span<const std::byte>) { ++rows; });
    EXPECT_EQ(rows, kRows);
}

struct MissingCase {
    const char* name;
    std::function<std::filesystem::path(const TempFolder&)> path;
    const char* reason;
};

class MissingTableTest : public ::testing::TestWithParam<MissingCase> {};

TEST_P(MissingTableTest, SaysWhyItCannotBeRead) {
    const TempFolder dir;
    const std::filesystem::path path = GetParam().path(dir);
    EXPECT_EQ(errorOf([&] { Table::open(path.string()); }),
              "Não foi possível ler a tabela: " + path.string() + " (" + GetParam().reason + ")");
}

INSTANTIATE_TEST_SUITE_P(
    Files, MissingTableTest,
    ::testing::Values(MissingCase{"absent", [](const TempFolder& d) { return (d.path() / "NADA.DB"); },
                                  "arquivo não encontrado"},
                      MissingCase{"folder",
                                  [](const TempFolder& d) {
                                      std::filesystem::create_directory((d.path() / "PASTA.DB"));
                                      return (d.path() / "PASTA.DB");
                                  },
                                  "é uma pasta"},
                      MissingCase{"device",
                                  [](const TempFolder&) { return std::filesystem::path("/dev/null"); },
                                  "não é um arquivo comum"}),
    kalvian::test::ByCaseName{});

} // namespace
} // namespace kalvian::paradox
