// kalvian-export as a careless user and a failing machine treat it: two runs at once, names that climb out
// of their folder, destinations that cannot be written, and malformed dates. Every run is a real process over
// tables written by the project's writer.
#include "export_file_safety_fixture.h"
#include "support/failure_texts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::describe;
using test::ExportFileSafetyTest;
using test::kAlterName;
using test::kMarchName;
using test::namesIn;
using test::PathFailure;
using test::ProcessEnd;
using test::readFile;
using test::reasonAndText;
using test::writeFile;

// ---- two runs at once

TEST_F(ExportFileSafetyTest, TwoRunsAtOnceWithoutReplaceWriteOneWholeFile) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        test::emptyFolder(destino());
        ProcessEnd ends[2];
        std::thread second([&] { ends[1] = run(march("medias", {"--inscricao", "123"})); });
        ends[0] = run(march("medias", {"--inscricao", "123"}));
        second.join();
        const int successes = (ends[0].exitCode == 0) + (ends[1].exitCode == 0);
        EXPECT_EQ(successes, 1) << "attempt " << attempt << ": " << describe(ends[0]) << " / "
                                << describe(ends[1]);
        for (const ProcessEnd& end : ends) {
            if (end.exitCode != 0) {
                EXPECT_EQ(end.exitCode, 1) << describe(end);
                EXPECT_EQ(end.err, kAlterName);
            }
        }
        EXPECT_EQ(namesIn(destino()), std::vector<std::string>{kMarchName});
        EXPECT_EQ(readFile(exported()).size(), 16u + 5000u * 290u);
    }
}

// ---- names stay in their folder

TEST_F(ExportFileSafetyTest, ArquivoThatNamesAFolderIsRefused) {
    for (const char* name : {"../fora.txt", "sub/x.txt", "/tmp/x.txt", "a\\b.txt", "..", "."}) {
        const ProcessEnd end = run(march("poucas", {"--inscricao", "123", "--arquivo", name}));
        EXPECT_EQ(end.exitCode, 2) << name << ": " << describe(end);
        EXPECT_EQ(end.err, "--arquivo recebe só o nome do arquivo, sem pasta (a pasta vai em --destino): " +
                               std::string(name) + "\nUse kalvian-export --ajuda para ver as opções.\n")
            << name;
    }
    EXPECT_EQ(namesIn(work.path()), std::vector<std::string>{"saida"});
    EXPECT_TRUE(namesIn(destino()).empty());
}

TEST_F(ExportFileSafetyTest, ProposedNameStaysInTheDestinationFolder) {
    // With a folder of the name's first part there, the name read as a path would climb out of "saida".
    fs::create_directory(destino() / "VRK3_1");
    const ProcessEnd end = run(march("poucas", {"--inscricao", "1/../../esc"}));
    EXPECT_EQ(end.exitCode, 0) << describe(end);
    EXPECT_EQ(namesIn(work.path()), std::vector<std::string>{"saida"});
    EXPECT_EQ(namesIn(destino()),
              (std::vector<std::string>{"VRK3_1", "VRK3_1_.._.._esc__01_03_2008__31_03_2008.txt"}));
}

// ---- command-line input

TEST_F(ExportFileSafetyTest, DatesAreExactlyDayMonthYear) {
    const std::string hint = " (use DD/MM/AAAA; dia e mês com 1 ou 2 dígitos, ano com 2 ou 4)\n";
    const struct {
        const char* name;
        std::string inicio;
        std::string err;
    } cases[] = {
        {"dia-de-tres-digitos", "123/01/2008", "Data inválida em --inicio: 123/01/2008" + hint},
        {"dia-negativo", "-5/01/2008", "Data inválida em --inicio: -5/01/2008" + hint},
        {"ano-de-cinco-digitos", "01/01/20081", "Data inválida em --inicio: 01/01/20081" + hint},
        {"texto-depois", "01/01/2008 x 99", "Data inválida em --inicio: 01/01/2008 x 99" + hint},
        {"ano-de-tres-digitos", "01/01/208", "Data inválida em --inicio: 01/01/208" + hint},
        {"outro-separador", "01-01-2008", "Data inválida em --inicio: 01-01-2008" + hint},
        {"branco-antes", " 01/01/2008", "Data inválida em --inicio:  01/01/2008" + hint},
        {"sem-ano", "01/01", "Data inválida em --inicio: 01/01" + hint},
        {"fora-do-calendario", "30/02/2008",
         "Data inválida em --inicio: 30/02/2008 (não existe no calendário)\n"},
        {"vazia", "", "Informe a data de --inicio (DD/MM/AAAA)\n"},
    };
    for (const auto& c : cases) {
        const ProcessEnd end = run(period("poucas", c.inicio, "31/03/2008", {"--inscricao", "123"}));
        EXPECT_EQ(end.exitCode, 2) << c.name << ": " << describe(end);
        EXPECT_EQ(end.err, c.err) << c.name;
    }
    EXPECT_TRUE(namesIn(destino()).empty());
}

TEST_F(ExportFileSafetyTest, ShortDatesStillRead) {
    const ProcessEnd end = run(period("poucas", "1/3/08", "31/3/2008", {"--inscricao", "123"}));
    EXPECT_EQ(end.exitCode, 0) << describe(end);
    EXPECT_EQ(namesIn(destino()), std::vector<std::string>{kMarchName});
}

TEST_F(ExportFileSafetyTest, OutputFailuresSayWhatAndWhere) {
    fs::create_directory(destino() / "pasta.txt");
    writeFile(destino() / "arquivo", "");
    const std::string longName(300, 'n');
    const struct {
        const char* name;
        std::vector<std::string> more;
        std::string err;
    } cases[] = {
        {"pasta-inexistente",
         {"--destino", (destino() / "nao/existe").string()},
         "Invalid filename. " + (destino() / "nao/existe" / kMarchName).string() + ": " +
             reasonAndText(PathFailure::FolderMissing) + "\n"},
        {"nome-longo-demais",
         {"--arquivo", longName},
         "Invalid filename. " + exported(longName) + ": " + reasonAndText(PathFailure::NameTooLong) + "\n"},
        {"arquivo-no-caminho",
         {"--destino", (destino() / "arquivo").string()},
         "Invalid filename. " + (destino() / "arquivo" / kMarchName).string() + ": " +
             reasonAndText(PathFailure::FileInThePath) + "\n"},
        {"nome-e-uma-pasta",
         {"--arquivo", "pasta.txt"},
         "File access denied. " + exported("pasta.txt") + ": " + reasonAndText(PathFailure::NameIsAFolder) +
             "\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> more = {"--inscricao", "123", "--substituir"};
        more.insert(more.end(), c.more.begin(), c.more.end());
        const ProcessEnd end = run(march("poucas", more));
        EXPECT_EQ(end.exitCode, 1) << c.name << ": " << describe(end);
        EXPECT_EQ(end.err, c.err) << c.name;
    }
    EXPECT_EQ(namesIn(destino()), (std::vector<std::string>{"arquivo", "pasta.txt"}));
}

} // namespace
} // namespace kalvian
