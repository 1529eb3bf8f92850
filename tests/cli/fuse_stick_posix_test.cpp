// kalvian-export writing onto USB sticks as offices mount them: FAT32 and exFAT through FUSE, file systems
// without RENAME_NOREPLACE and without hard links. Real mounts and real processes; where FUSE cannot be
// mounted the tests fail and say why.
#include "support/case_names.h"
#include "support/posix/fuse_mount.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::FuseMount;
using test::readFile;

const fs::path kDemoTables = fs::path(KALVIAN_SOURCE_DIR) / "samples/vrk3";
const fs::path kDemoFiles = fs::path(KALVIAN_TEST_DATA_DIR) / "cli/demo";

struct Stick {
    const char* name;
    FuseMount::Kind kind;
};

void PrintTo(const Stick& stick, std::ostream* out) {
    *out << stick.name;
}

class FuseStickPosixTest : public ::testing::TestWithParam<Stick> {
protected:
    void SetUp() override { ASSERT_EQ(stick.failure(), "") << "the stick could not be mounted"; }

    test::ProcessEnd run(const std::vector<std::string>& more) const {
        std::vector<std::string> arguments = {
            KALVIAN_EXPORT_PROGRAM, "--origem",  kDemoTables, "--inicio", "01/01/2008", "--fim",
            "15/12/2008",           "--destino", stick.path()};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return test::runProgram({arguments, scratch.path(), {"LC_ALL=C"}});
    }

    test::TempFolder scratch;
    FuseMount stick{GetParam().kind, scratch.path()};
};

TEST_P(FuseStickPosixTest, EveryModeWritesWholeFilesUnderNewNamesAndLeavesNothingElse) {
    const std::string name = "VRK3_1001__01_01_2008__15_12_2008.txt";
    const struct {
        const char* step;
        std::vector<std::string> arguments;
        int exitCode;
        const char* err;
    } steps[] = {
        {"nome-novo", {"--inscricao", "1001"}, 0, ""},
        {"nome-tomado", {"--inscricao", "1001"}, 1, "Altere o nome do Arquivo e tente exportar novamente\n"},
        {"substituir", {"--inscricao", "1001", "--substituir"}, 0, ""},
        {"todas-com-resumo", {"--todas", "--substituir", "--resumo", stick.path() / "resumo.csv"}, 0, ""},
    };
    for (const auto& s : steps) {
        const test::ProcessEnd end = run(s.arguments);
        EXPECT_EQ(end.exitCode, s.exitCode) << s.step << ": " << end.err;
        EXPECT_EQ(end.err, s.err) << s.step;
        EXPECT_TRUE(readFile(stick.path() / name) == readFile(kDemoFiles / name)) << s.step;
    }

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(stick.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    const std::vector<std::string> exported = {name, "VRK3_2002__01_01_2008__15_12_2008.txt",
                                               "VRK3_3003__01_01_2008__15_12_2008.txt"};
    std::vector<std::string> expected = exported;
    expected.push_back("resumo.csv");
    EXPECT_EQ(names, expected);
    for (const std::string& file : exported) {
        EXPECT_TRUE(readFile(stick.path() / file) == readFile(kDemoFiles / file)) << file;
    }
    const std::string summary = readFile(stick.path() / "resumo.csv");
    EXPECT_TRUE(summary.starts_with("\xEF\xBB\xBFinscricao;arquivo;")) << summary;
    EXPECT_EQ(std::count(summary.begin(), summary.end(), '\n'), 4) << summary;
}

INSTANTIATE_TEST_SUITE_P(Sticks, FuseStickPosixTest,
                         ::testing::Values(Stick{"fat32-fusefat", FuseMount::Kind::Fat32},
                                           Stick{"exfat-fuse", FuseMount::Kind::Exfat}),
                         test::ByCaseName());

} // namespace
} // namespace kalvian
