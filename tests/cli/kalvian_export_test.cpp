// kalvian-export run as a user runs it, over tables written by the project's writer.
#include "common/version.h"
#include "kalvian_export_fixture.h"
#include "support/failure_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <regex>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::KalvianExportTest;
using test::namesIn;
using test::PathFailure;
using test::ProcessEnd;
using test::readFile;
using test::reasonAndText;
using test::runExport;
using test::writeFile;

const std::string kGolden = std::string(KALVIAN_TEST_DATA_DIR) + "/cli/inscricao-123-marco-2008.txt";

TEST_F(KalvianExportTest, ExportsByteForByteAndPrintsTheCounts) {
    const ProcessEnd result = run(march("--inscricao 123"));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "Inscrição 123\nEmitidas: 3\nRecebidas: 2\nTotal: 5\nDados exportados com sucesso.\n"
              "Arquivo: " +
                  exported() +
                  "\n"
                  "Notas X (linhas C): 1\n"
                  "Valor das notas emitidas: 3.001,00\n"
                  "Valor dos serviços emitidos: 2.000,00\n"
                  "Valor das notas recebidas: 400,00\n"
                  "Valor dos serviços recebidos: 300,50\n"
                  "Imposto retido: 7,50\n"
                  "Sem cliente encontrado: 2 (código 57; 1 sem código)\n");
    EXPECT_EQ(readFile(exported()), readFile(kGolden));
}

TEST_F(KalvianExportTest, LockFilesGiveOneWarningAndStayAsTheyWere) {
    // Contents the engine's own: bytes that are not text, read by no one.
    writeFile(origem() + "/PDOXUSRS.LCK", std::string("\x01\x00\xFFsess\xE3o 1", 10));
    writeFile(origem() + "/dsemi.lck", std::string(32, '\0'));
    const struct {
        const char* name;
        std::string arguments;
    } cases[] = {
        {"duas-inscricoes", march("--inscricao 123 --inscricao 456")},
        {"todas", march("--todas")},
    };
    for (const auto& c : cases) {
        test::emptyFolder(destino());
        const std::vector<std::string> before = test::folderState(origem());
        const ProcessEnd result = run(c.arguments);
        EXPECT_EQ(result.exitCode, 0) << c.name << result.err;
        EXPECT_EQ(result.err, test::kLockFilesWarning) << c.name;
        EXPECT_EQ(test::folderState(origem()), before) << c.name;
        EXPECT_EQ(readFile(exported()), readFile(kGolden)) << c.name;
    }
}

TEST_F(KalvianExportTest, ReplacesOnlyWhenAsked) {
    ASSERT_EQ(run(march("--inscricao 123")).exitCode, 0);
    writeFile(exported(), "antigo");

    const ProcessEnd refused = run(march("--inscricao 123"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "Altere o nome do Arquivo e tente exportar novamente\n");
    EXPECT_EQ(readFile(exported()), "antigo");

    const ProcessEnd replaced = run(march("--inscricao 123 --substituir"));
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
    EXPECT_EQ(readFile(exported()), readFile(kGolden));
    EXPECT_EQ(namesIn(destino()), std::vector<std::string>{"VRK3_123__01_03_2008__31_03_2008.txt"});
}

TEST_F(KalvianExportTest, FailuresKeepTheOldFileAndLeaveNoTemporaryFile) {
    const struct {
        const char* name;
        std::string arguments;
        std::function<void(const KalvianExportTest&)> damage;
        int exitCode;
        std::optional<std::string> err; // none: the message names the damaged table
    } cases[] = {
        {"depois-do-corte",
         "--origem '" + origem() + "' --inicio 01/03/2008 --fim 16/12/2008 --inscricao 123", nullptr, 1,
         "Notas emitidas após o dia 15/12 devem ser lançadas na versão 4.0.\n"},
        {"ordem", "--origem '" + origem() + "' --inicio 10/03/2008 --fim 05/03/2008 --inscricao 123", nullptr,
         1, "A Data Final deve ser maior ou igual a Data Inicial.\n"},
        {"sem-clientes", march("--inscricao 123 --substituir"),
         [](const KalvianExportTest& t) { fs::remove(t.origem() + "/DSCLI.DB"); }, 1,
         "Arquivo de Clientes não foi encontrado.\n(DSCLI.DB)\n"},
        {"tabela-danificada", march("--inscricao 123 --substituir"),
         [](const KalvianExportTest& t) { fs::resize_file(t.origem() + "/DSREC.DB", 100); }, 1, std::nullopt},
        {"nome-e-uma-pasta", march("--inscricao 123 --substituir --arquivo pasta"),
         [](const KalvianExportTest& t) { fs::create_directory(t.destino() + "/pasta"); }, 1,
         "File access denied. " + (fs::path(destino()) / "pasta").string() + ": " +
             reasonAndText(PathFailure::NameIsAFolder) + "\n"},
        {"pasta-inexistente", march("--inscricao 123 --substituir --destino '" + destino() + "/nao/existe'"),
         nullptr, 1,
         "Invalid filename. " +
             (fs::path(destino() + "/nao/existe") / "VRK3_123__01_03_2008__31_03_2008.txt").string() + ": " +
             reasonAndText(PathFailure::FolderMissing) + "\n"},
        {"nome-de-dispositivo", march("--inscricao 123 --substituir --arquivo CON"), nullptr, 1,
         "O nome \"CON\" é reservado pelo Windows para um dispositivo e não pode ser nome de arquivo.\n"},
        {"fluxo-alternativo", march("--inscricao 123 --substituir --arquivo a:b.txt"), nullptr, 1,
         "O nome \"a:b.txt\" tem o caractere :, que o Windows não aceita em nomes de arquivo.\n"},
        {"resumo-de-dispositivo", march("--inscricao 123 --substituir --resumo '" + destino() + "/aux.csv'"),
         nullptr, 1,
         "--resumo " + destino() +
             "/aux.csv: O nome \"aux.csv\" é reservado pelo Windows para um dispositivo e "
             "não pode ser nome de arquivo.\n"},
        {"data-invalida", "--origem '" + origem() + "' --inicio 31/02/2008 --fim 31/03/2008 --inscricao 123",
         nullptr, 2, "Data inválida em --inicio: 31/02/2008 (não existe no calendário)\n"},
        {"data-vazia", "--origem '" + origem() + "' --inicio 01/03/2008 --fim '' --inscricao 123", nullptr, 2,
         "Informe a data de --fim (DD/MM/AAAA)\n"},
        {"opcao-desconhecida", march("--inscricao 123 --depressa"), nullptr, 2,
         "Opção desconhecida: depressa\nUse kalvian-export --ajuda para ver as opções.\n"},
    };
    for (const auto& c : cases) {
        SetUp();
        writeFile(exported(), "antigo");
        if (c.damage) {
            c.damage(*this);
        }
        const ProcessEnd result = run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name << ": " << result.err;
        if (c.err) {
            EXPECT_EQ(result.err, *c.err) << c.name;
        } else {
            EXPECT_NE(result.err.find("DSREC"), std::string::npos) << c.name << ": " << result.err;
        }
        EXPECT_EQ(readFile(exported()), "antigo") << c.name;
        for (const std::string& name : namesIn(destino())) {
            EXPECT_EQ(name.find(".kalvian-"), std::string::npos) << c.name << ": " << name;
        }
        fs::remove_all(source.path() / "vrk3");
        test::emptyFolder(source.path() / "saida");
    }
}

TEST_F(KalvianExportTest, AllDeclarantsOfThePeriodEachToItsProposedName) {
    const ProcessEnd result = run(march("--todas"));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(namesIn(destino()), (std::vector<std::string>{"VRK3_123__01_03_2008__31_03_2008.txt",
                                                            "VRK3_456__01_03_2008__31_03_2008.txt"}));
    EXPECT_EQ(readFile(exported()), readFile(kGolden));
    EXPECT_EQ(readFile(destino() + "/VRK3_456__01_03_2008__31_03_2008.txt").substr(0, 16),
              "H0000000045640\r\n");
}

TEST_F(KalvianExportTest, SeveralRegistrationsAndANonNumericOne) {
    const ProcessEnd result = run(march("--inscricao 456 --inscricao abc"));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("Inscrição abc\nEmitidas: 0\nRecebidas: 0\nTotal: 0\n"), std::string::npos);
    EXPECT_EQ(readFile(destino() + "/VRK3_abc__01_03_2008__31_03_2008.txt"), "H00000000abc40\r\n");
}

TEST_F(KalvianExportTest, HelpIsInPortuguese) {
    const ProcessEnd result = run("--ajuda");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.rfind("Uso: kalvian-export --origem PASTA", 0), 0u);
    for (const char* line : {"     kalvian-export --conferir ARQUIVO\n",
                             "  --substituir         substitui um arquivo que já exista (também o resumo)\n",
                             "  --resumo ARQUIVO.csv grava um resumo com uma linha por inscrição exportada",
                             "  --conferir ARQUIVO   confere um arquivo exportado, sem as tabelas",
                             "Depois de cada exportação mostra os totais do que foi gravado"}) {
        EXPECT_NE(result.out.find(line), std::string::npos) << line;
    }
}

// The bundled demo tables, every registration of 2008, against files checked by hand once.
TEST_F(KalvianExportTest, DemoTablesExportToTheirGoldenFiles) {
    const std::string demo = std::string(KALVIAN_SOURCE_DIR) + "/samples/vrk3";
    const ProcessEnd result = run("--origem '" + demo + "' --todas --inicio 01/01/2008 --fim 15/12/2008");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::string golden = std::string(KALVIAN_TEST_DATA_DIR) + "/cli/demo";
    std::vector<std::string> goldenNames;
    for (const auto& entry : fs::directory_iterator(golden)) {
        goldenNames.push_back(entry.path().filename().string());
        EXPECT_EQ(readFile(destino() + "/" + goldenNames.back()), readFile(entry.path()))
            << goldenNames.back();
    }
    std::sort(goldenNames.begin(), goldenNames.end());
    EXPECT_EQ(namesIn(destino()), goldenNames);
}

TEST_F(KalvianExportTest, TellsItsVersionAlone) {
    for (const char* flag : {"--version", "--versao"}) {
        const ProcessEnd result = run(flag);
        EXPECT_EQ(result.exitCode, 0) << flag;
        EXPECT_EQ(result.out, std::string("kalvian-export ") + kVersion + "\n") << flag;
    }
    EXPECT_TRUE(std::regex_match(kVersion, std::regex("[0-9]+\\.[0-9]+\\.[0-9]+")));
}

} // namespace
} // namespace kalvian
