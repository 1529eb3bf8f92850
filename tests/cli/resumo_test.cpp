// kalvian-export --resumo: the CSV of a run, written safely on a machine that fails.
#include "cli/program_run.h"
#include "common/date_serial.h"
#include "support/temp_folder.h"
#include "vrk3_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/mount.h>
#include <unistd.h>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::ProgramRun;
using test::readFile;
using test::TempFolder;
using test::writeFile;

const std::string kDemo = std::string(KALVIAN_SOURCE_DIR) + "/samples/vrk3";
const std::string kYear = "--inicio 01/01/2008 --fim 15/12/2008 ";

std::vector<std::string> names(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        found.push_back(entry.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// A small file system mounted for the test (root only): read-only, or that fills up.
class Mounted {
public:
    Mounted(const fs::path& path, unsigned long flags, const char* options) : m_path(path) {
        fs::create_directory(path);
        m_mounted = ::geteuid() == 0 && ::mount("tmpfs", path.c_str(), "tmpfs", flags, options) == 0;
    }
    ~Mounted() {
        if (m_mounted) {
            ::umount2(m_path.c_str(), MNT_DETACH);
        }
    }
    bool ready() const { return m_mounted; }

private:
    fs::path m_path;
    bool m_mounted = false;
};

class ResumoTest : public ::testing::Test {
public:
    ResumoTest() { fs::create_directory(saida()); }

    ProgramRun run(const std::string& arguments) const {
        return test::runExport("--origem '" + kDemo + "' " + kYear + arguments, folder.path(), folder.path());
    }
    fs::path saida() const { return folder.path() / "saida"; }

    TempFolder folder;
};

TEST_F(ResumoTest, OneRowPerExportedRegistrationOnly) {
    // 2002's file name is taken by a folder: that export fails, and has no row.
    fs::create_directory(saida() / "VRK3_2002__01_01_2008__15_12_2008.txt");
    const ProgramRun result = run("--inscricao 1001 --inscricao 2002 --inscricao 3003 --destino saida "
                                  "--resumo resumo.csv");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "File access denied. saida/VRK3_2002__01_01_2008__15_12_2008.txt: o nome é de uma "
                          "pasta (Is a directory)\n");
    const std::string csv = readFile(folder.path() / "resumo.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3) << csv;
    EXPECT_NE(csv.find("\r\n1001;saida/VRK3_1001__01_01_2008__15_12_2008.txt;291;6;116;"), std::string::npos)
        << csv;
    EXPECT_NE(csv.find("\r\n3003;saida/VRK3_3003__01_01_2008__15_12_2008.txt;"), std::string::npos) << csv;
    EXPECT_EQ(csv.find("\r\n2002;"), std::string::npos) << csv;
}

TEST_F(ResumoTest, AnExistingSummaryIsReplacedOnlyWhenAsked) {
    writeFile(folder.path() / "resumo.csv", "antigo");
    const ProgramRun refused = run("--inscricao 1001 --destino saida --resumo resumo.csv");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err,
              "O arquivo de resumo já existe: resumo.csv (use --substituir para substituí-lo)\n");
    EXPECT_EQ(readFile(folder.path() / "resumo.csv"), "antigo");
    EXPECT_EQ(names(saida()), std::vector<std::string>{}) << "nada é exportado";

    const ProgramRun replaced = run("--inscricao 1001 --destino saida --resumo resumo.csv --substituir");
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
    EXPECT_EQ(readFile(folder.path() / "resumo.csv").rfind("\xEF\xBB\xBFinscricao;", 0), 0u);
}

TEST_F(ResumoTest, ASummaryNamedAsAnExportedFileDoesNotReplaceIt) {
    const std::string exported = "saida/VRK3_1001__01_01_2008__15_12_2008.txt";
    const ProgramRun result = run("--inscricao 1001 --destino saida --resumo " + exported);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              "O arquivo de resumo já existe: " + exported + " (use --substituir para substituí-lo)\n");
    EXPECT_EQ(readFile(folder.path() / exported).substr(0, 16), "H0000000100140\r\n");
    EXPECT_EQ(names(saida()), std::vector<std::string>{"VRK3_1001__01_01_2008__15_12_2008.txt"});
}

TEST_F(ResumoTest, AFolderNobodyMayWriteStopsTheRunBeforeItExports) {
    const Mounted locked(folder.path() / "travada", MS_RDONLY, "size=64k");
    if (!locked.ready()) {
        GTEST_SKIP() << "mounting a read-only file system needs root";
    }
    const ProgramRun result = run("--inscricao 1001 --destino saida --resumo travada/resumo.csv");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Não foi possível gravar o resumo travada/resumo.csv: File access denied.\n");
    EXPECT_EQ(names(saida()), std::vector<std::string>{});
    EXPECT_EQ(names(folder.path() / "travada"), std::vector<std::string>{});
}

TEST_F(ResumoTest, AFullDiskKeepsTheExportsAndLeavesNoDebris) {
    const Mounted small(folder.path() / "cheio", 0, "size=4k");
    if (!small.ready()) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    // Sixty registrations of one invoice each: their rows pass 4 KiB.
    paradox::Vrk3Tables tables;
    for (int registration = 1; registration <= 60; ++registration) {
        paradox::IssuedRow row;
        row.insmun = 1000.0 + registration;
        row.data = toSerial({2008, 5, 1});
        tables.issued.push_back(row);
    }
    fs::create_directory(folder.path() / "vrk3");
    tables.write(folder.path() / "vrk3");

    const ProgramRun result = test::runExport("--origem vrk3 " + kYear +
                                                  "--todas --destino saida "
                                                  "--resumo cheio/resumo.csv",
                                              folder.path(), folder.path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Não foi possível gravar o resumo cheio/resumo.csv: Disk full.\n");
    EXPECT_EQ(names(saida()).size(), 60u);
    EXPECT_NE(result.out.find("Total: 60 arquivos, 60 notas em "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(" s\nEmitidas: 60\nRecebidas: 0\n"), std::string::npos) << result.out;
    EXPECT_EQ(names(folder.path() / "cheio"), std::vector<std::string>{});
}

TEST_F(ResumoTest, TwoRunsAtOnceLeaveOneWholeSummary) {
    const std::string out = folder / "concorrentes.txt";
    for (int round = 0; round < 5; ++round) {
        const std::string command =
            "cd '" + folder.path().string() +
            "' && (for r in 1001 2002; do LC_ALL=C '" KALVIAN_EXPORT_PROGRAM "' --origem '" + kDemo + "' " +
            kYear + "--inscricao $r --destino saida --substituir --resumo resumo.csv >/dev/null 2>>'" + out +
            "' & done; wait)";
        ASSERT_EQ(std::system(command.c_str()), 0);
        EXPECT_EQ(readFile(out), "");
        const std::string csv = readFile(folder.path() / "resumo.csv");
        const bool one = csv.find("\r\n1001;") != std::string::npos;
        const bool other = csv.find("\r\n2002;") != std::string::npos;
        EXPECT_NE(one, other) << csv;
        EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2) << csv;
        EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");
        EXPECT_EQ(names(folder.path()),
                  (std::vector<std::string>{"concorrentes.txt", "resumo.csv", "saida"}));
    }
}

} // namespace
} // namespace kalvian
