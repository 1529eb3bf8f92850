// kalvian-export --conferir, run as a user runs it: sound files pass with their totals, and each damage is
// named by its line.
#include "common/error.h"
#include "conferir_fixture.h"
#include "export_check/damaged_lines.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::ConferirTest;
using test::kDemo;
using test::kGolden;
using test::ProcessEnd;
using test::readFile;
using test::writeFile;

// ---- Sound files

TEST_F(ConferirTest, SoundFilePrintsItsCountsAndTotals) {
    const ProcessEnd result = run("--conferir '" + kGolden + "'");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "Arquivo: " + kGolden +
                              "\n"
                              "Inscrição: 00000000123\n"
                              "Emitidas: 3\n"
                              "Recebidas: 2\n"
                              "Total: 5\n"
                              "Notas X (linhas C): 1\n"
                              "Valor das notas emitidas: 3.001,00\n"
                              "Valor dos serviços emitidos: 2.000,00\n"
                              "Valor das notas recebidas: 400,00\n"
                              "Valor dos serviços recebidos: 300,50\n"
                              "Imposto retido: 7,50\n"
                              "Sem cliente encontrado: 2 (código 57; 1 sem código)\n"
                              "Arquivo conferido: 6 linhas sem erros.\n");
}

// ---- Damaged files

class ConferirDamage : public ConferirTest, public ::testing::WithParamInterface<test::Damage> {};

TEST_P(ConferirDamage, ExitsOneNamingTheFirstBadLine) {
    std::vector<std::string> lines = test::soundLines();
    GetParam().damage(lines);
    writeFile(file(), test::joined(lines));
    const ProcessEnd result = run("--conferir VRK3.txt");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, withFinalPeriod(GetParam().message) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Conferir, ConferirDamage, ::testing::ValuesIn(test::damages()), test::ByCaseName());

TEST_F(ConferirTest, FilesThatCannotBeRead) {
    fs::create_directory(folder.path() / "pasta");
    const struct {
        const char* name;
        std::string arguments;
        int exitCode;
        std::string err;
    } cases[] = {
        {"inexistente", "--conferir nada.txt", 1, "Não foi possível ler nada.txt: File not found.\n"},
        {"pasta", "--conferir pasta", 1, "Não foi possível ler pasta: File access denied.\n"},
        {"com-outras-opcoes", "--conferir x.txt --substituir", 2,
         "--conferir não se combina com outras opções\nUse kalvian-export --ajuda para ver as opções.\n"},
    };
    for (const auto& c : cases) {
        const ProcessEnd result = run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(result.err, c.err) << c.name;
        EXPECT_EQ(result.out, "") << c.name;
    }
}

} // namespace
} // namespace kalvian
