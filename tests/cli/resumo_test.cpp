// kalvian-export --resumo: the CSV of a run, written safely on a machine that fails.
#include "resumo_fixture.h"
#include "support/failure_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <thread>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::namesIn;
using test::PathFailure;
using test::ProcessEnd;
using test::readFile;
using test::reasonAndText;
using test::ResumoTest;
using test::writeFile;

TEST_F(ResumoTest, OneRowPerExportedRegistrationOnly) {
    // 2002's file name is taken by a folder: that export fails, and has no row.
    fs::create_directory(saida() / "VRK3_2002__01_01_2008__15_12_2008.txt");
    const ProcessEnd result = run("--inscricao 1001 --inscricao 2002 --inscricao 3003 --destino saida "
                                  "--resumo resumo.csv");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "File access denied. " +
                              (fs::path("saida") / "VRK3_2002__01_01_2008__15_12_2008.txt").string() + ": " +
                              reasonAndText(PathFailure::NameIsAFolder) + "\n");
    const std::string csv = readFile(folder.path() / "resumo.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3) << csv;
    const auto row = [](const char* registration) {
        return "\r\n" + std::string(registration) + ";" +
               (fs::path("saida") / ("VRK3_" + std::string(registration) + "__01_01_2008__15_12_2008.txt"))
                   .string() +
               ";";
    };
    EXPECT_NE(csv.find(row("1001") + "291;6;116;"), std::string::npos) << csv;
    EXPECT_NE(csv.find(row("3003")), std::string::npos) << csv;
    EXPECT_EQ(csv.find("\r\n2002;"), std::string::npos) << csv;
}

TEST_F(ResumoTest, AnExistingSummaryIsReplacedOnlyWhenAsked) {
    writeFile(folder.path() / "resumo.csv", "antigo");
    const ProcessEnd refused = run("--inscricao 1001 --destino saida --resumo resumo.csv");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err,
              "O arquivo de resumo já existe: resumo.csv (use --substituir para substituí-lo)\n");
    EXPECT_EQ(readFile(folder.path() / "resumo.csv"), "antigo");
    EXPECT_EQ(namesIn(saida()), std::vector<std::string>{}) << "nada é exportado";

    const ProcessEnd replaced = run("--inscricao 1001 --destino saida --resumo resumo.csv --substituir");
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
    EXPECT_EQ(readFile(folder.path() / "resumo.csv").rfind("\xEF\xBB\xBFinscricao;", 0), 0u);
}

TEST_F(ResumoTest, ASummaryNamedAsAnExportedFileDoesNotReplaceIt) {
    const std::string exported = "saida/VRK3_1001__01_01_2008__15_12_2008.txt";
    const ProcessEnd result = run("--inscricao 1001 --destino saida --resumo " + exported);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              "O arquivo de resumo já existe: " + exported + " (use --substituir para substituí-lo)\n");
    EXPECT_EQ(readFile(folder.path() / exported).substr(0, 16), "H0000000100140\r\n");
    EXPECT_EQ(namesIn(saida()), std::vector<std::string>{"VRK3_1001__01_01_2008__15_12_2008.txt"});
}

TEST_F(ResumoTest, TwoRunsAtOnceLeaveOneWholeSummary) {
    for (int round = 0; round < 5; ++round) {
        ProcessEnd ends[2];
        std::thread second(
            [&] { ends[1] = run("--inscricao 2002 --destino saida --substituir --resumo resumo.csv"); });
        ends[0] = run("--inscricao 1001 --destino saida --substituir --resumo resumo.csv");
        second.join();
        for (const ProcessEnd& end : ends) {
            ASSERT_EQ(end.exitCode, 0) << end.err;
            EXPECT_EQ(end.err, "");
        }
        const std::string csv = readFile(folder.path() / "resumo.csv");
        const bool one = csv.find("\r\n1001;") != std::string::npos;
        const bool other = csv.find("\r\n2002;") != std::string::npos;
        EXPECT_NE(one, other) << csv;
        EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2) << csv;
        EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");
        EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"resumo.csv", "saida"}));
    }
}

} // namespace
} // namespace kalvian
