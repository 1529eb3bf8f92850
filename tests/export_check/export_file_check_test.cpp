// Export files read back from disk through a buffer of fixed size.
#include "common/error.h"
#include "export_check/damaged_lines.h"
#include "export_check/export_file_check.h"
#include "support/case_names.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kalvian {
namespace {

using test::Invoice;
using test::TempFolder;
using test::writeFile;

std::string failureOf(const std::string& path) {
    try {
        checkExportFile(path);
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

// Enough varied lines to fill the reading buffer several times over.
std::vector<std::string> manyLines() {
    std::vector<std::string> lines = {test::headerLine()};
    for (int i = 0; i < 6000; ++i) {
        Invoice invoice;
        invoice.valnf = i % 7 == 0 ? -1.5 * i : 1000.25 * i;
        invoice.valser = i % 500 == 0 ? 1.5e20 : 0.125 * i;
        invoice.codcli = i % 3;
        lines.push_back(i % 10 == 0 ? test::issuedLine(test::shortInvoice()) : test::issuedLine(invoice));
    }
    for (int i = 0; i < 3000; ++i) {
        Invoice invoice;
        invoice.impret = 1e12 + i;
        invoice.codcli = i % 4;
        lines.push_back(test::receivedLine(invoice));
    }
    return lines;
}

class FileCheckTest : public ::testing::Test {
public:
    std::string path() const { return folder / "VRK3_123.txt"; }

    TempFolder folder;
};

// ---- Sound files

TEST_F(FileCheckTest, ReadsAsTheLinesWereWritten) {
    const std::string bytes = test::joined(manyLines());
    ASSERT_GT(bytes.size(), 4u * 256 * 1024);
    writeFile(path(), bytes);
    ExportLineCheck written;
    written.addWritten(bytes);

    const ExportLineCheck read = checkExportFile(path());
    EXPECT_EQ(read.lines(), 9001);
    EXPECT_EQ(read.lines(), written.lines());
    EXPECT_EQ(read.registration(), "00000000123");
    EXPECT_EQ(read.totals().issued, 6000);
    EXPECT_EQ(read.totals().issuedShort, 600);
    EXPECT_EQ(read.totals().received, 3000);
    EXPECT_EQ(read.totals().withoutClient, written.totals().withoutClient);
    EXPECT_GT(read.totals().withoutClient, 0);
    for (const auto sum :
         {&ExportTotals::issuedValue, &ExportTotals::issuedServices, &ExportTotals::receivedValue,
          &ExportTotals::receivedServices, &ExportTotals::withheldTax}) {
        EXPECT_EQ((read.totals().*sum).text(',', 0), (written.totals().*sum).text(',', 0));
    }
}

// ---- Damaged files

class DamagedFiles : public FileCheckTest, public ::testing::WithParamInterface<test::Damage> {};

TEST_P(DamagedFiles, FirstBadLineNamed) {
    std::vector<std::string> lines = test::soundLines();
    GetParam().damage(lines);
    writeFile(path(), test::joined(lines));
    EXPECT_EQ(failureOf(path()), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(FileCheck, DamagedFiles, ::testing::ValuesIn(test::damages()), test::ByCaseName());

TEST_F(FileCheckTest, DamageWhereTheBufferIsRefilled) {
    const std::vector<std::string> sound = manyLines();
    // The line that runs across the end of the first buffer's worth of bytes.
    std::size_t offset = 0;
    std::size_t across = 0;
    while (offset + sound[across].size() <= 256 * 1024) {
        offset += sound[across++].size();
    }
    ASSERT_EQ(sound[across][0], 'E');
    const std::string number = std::to_string(across + 1);
    const struct {
        const char* name;
        std::function<void(std::string&)> damage;
        std::string message;
    } cases[] = {
        {"letra-no-valor", [](std::string& l) { l[30] = 'A'; }, "campo VALNF inválido a partir da coluna 22"},
        {"so-lf", [](std::string& l) { l.erase(l.size() - 2, 1); }, "a linha termina só com LF, sem o CR"},
        {"linha-longa", [](std::string& l) { l.insert(100, 300000, 'x'); },
         "linha longa: 300288 caracteres; esta linha E deveria ter 288"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines = sound;
        c.damage(lines[across]);
        writeFile(path(), test::joined(lines));
        const std::string failure = failureOf(path());
        EXPECT_EQ(failure.rfind("linha " + number + ": " + c.message, 0), 0u) << c.name << ": " << failure;
    }
}

TEST_F(FileCheckTest, LineLongerThanTheBufferToTheEndOfTheFile) {
    std::vector<std::string> lines = test::soundLines();
    lines[1].insert(288, std::string(3 * 1024 * 1024, 'y'));
    lines.resize(2);
    lines[1].resize(lines[1].size() - 2); // no line end at all
    writeFile(path(), test::joined(lines));
    EXPECT_EQ(failureOf(path()), "linha 2: linha longa: " + std::to_string(288 + 3 * 1024 * 1024) +
                                     " caracteres; esta linha E deveria ter 288");
}

// ---- Files that cannot be read

TEST_F(FileCheckTest, UnreadableFiles) {
    std::filesystem::create_directory(folder.path() / "pasta");
    EXPECT_EQ(failureOf(folder / "nao-existe.txt"),
              "Não foi possível ler " + (folder / "nao-existe.txt") + ": File not found");
    EXPECT_EQ(failureOf(folder / "pasta"),
              "Não foi possível ler " + (folder / "pasta") + ": File access denied");
}

} // namespace
} // namespace kalvian
