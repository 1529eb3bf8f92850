#include "cli/export_options.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace kalvian {
namespace {

ParsedOptions parse(const QStringList& arguments) {
    std::vector<std::string> bytes = {"kalvian-export"};
    for (const QString& argument : arguments) {
        bytes.push_back(argument.toUtf8().toStdString());
    }
    return parseExportOptions(bytes);
}

const QStringList kRequired = {"--origem", "/dados", "--inicio", "01/01/2008", "--fim", "31/01/2008"};

TEST(ExportOptions, ReadsEveryOption) {
    const ParsedOptions parsed = parse(kRequired + QStringList{"--inscricao", "123", "--inscricao", " 45 ",
                                                               "--destino", "/saida", "--substituir"});
    ASSERT_EQ(parsed.usageError, "");
    EXPECT_EQ(parsed.options.origem, "/dados");
    EXPECT_EQ(parsed.options.inscricoes, (std::vector<std::string>{"123", " 45 "}));
    EXPECT_EQ(parsed.options.inicio, "01/01/2008");
    EXPECT_EQ(parsed.options.fim, "31/01/2008");
    EXPECT_EQ(parsed.options.destino, "/saida");
    EXPECT_FALSE(parsed.options.arquivo.has_value());
    EXPECT_TRUE(parsed.options.substituir);
    EXPECT_FALSE(parsed.options.todas);
    EXPECT_FALSE(parsed.options.resumo.has_value());
    EXPECT_FALSE(parsed.options.conferir.has_value());
}

TEST(ExportOptions, SummaryOfTheRun) {
    const ParsedOptions parsed = parse(kRequired + QStringList{"--todas", "--resumo", "../resumo; 2008.csv"});
    ASSERT_EQ(parsed.usageError, "");
    EXPECT_EQ(parsed.options.resumo, "../resumo; 2008.csv");
}

TEST(ExportOptions, CheckTakesTheFileAlone) {
    const ParsedOptions parsed = parse({"--conferir", "VRK3_1001.txt"});
    ASSERT_EQ(parsed.usageError, "");
    EXPECT_EQ(parsed.options.conferir, "VRK3_1001.txt");
    EXPECT_EQ(parsed.options.origem, "");
}

TEST(ExportOptions, UsageErrors) {
    const struct {
        const char* name;
        QStringList arguments;
        const char* error;
    } cases[] = {
        {"sem-origem",
         {"--inscricao", "1", "--inicio", "1/1/2008", "--fim", "2/1/2008"},
         "Falta a opção --origem"},
        {"sem-fim", {"--origem", "/d", "--inscricao", "1", "--inicio", "1/1/2008"}, "Falta a opção --fim"},
        {"sem-inscricao", kRequired, "Informe --inscricao ou --todas (um dos dois)"},
        {"inscricao-e-todas", kRequired + QStringList{"--inscricao", "1", "--todas"},
         "Informe --inscricao ou --todas (um dos dois)"},
        {"arquivo-com-todas", kRequired + QStringList{"--todas", "--arquivo", "x.txt"},
         "--arquivo serve a uma inscrição só; com várias, cada uma recebe o nome proposto"},
        {"arquivo-com-duas",
         kRequired + QStringList{"--inscricao", "1", "--inscricao", "2", "--arquivo", "x"},
         "--arquivo serve a uma inscrição só; com várias, cada uma recebe o nome proposto"},
        {"opcao-desconhecida", kRequired + QStringList{"--todas", "--pressa"}, "Opção desconhecida: pressa"},
        {"argumento-solto", kRequired + QStringList{"--todas", "sobra"}, "Argumento inesperado: sobra"},
        {"origem-duas-vezes", kRequired + QStringList{"--todas", "--origem", "/outra"},
         "A opção --origem só pode ser dada uma vez"},
        {"resumo-duas-vezes", kRequired + QStringList{"--todas", "--resumo", "a.csv", "--resumo", "b.csv"},
         "A opção --resumo só pode ser dada uma vez"},
        {"resumo-sem-valor", kRequired + QStringList{"--todas", "--resumo"},
         "Falta o valor de uma opção: Missing value after '--resumo'."},
        {"conferir-duas-vezes",
         {"--conferir", "a.txt", "--conferir", "b.txt"},
         "A opção --conferir só pode ser dada uma vez"},
        {"conferir-e-exportar", kRequired + QStringList{"--todas", "--conferir", "a.txt"},
         "--conferir não se combina com outras opções"},
        {"conferir-e-resumo",
         {"--conferir", "a.txt", "--resumo", "r.csv"},
         "--conferir não se combina com outras opções"},
        {"conferir-e-argumento", {"--conferir", "a.txt", "b.txt"}, "Argumento inesperado: b.txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parse(c.arguments).usageError, c.error) << c.name;
    }
}

// The header holds 11 characters: the Windows-1252 ones left between the blanks and control characters.
TEST(ExportOptions, InscricaoHoldsWhatTheHeaderHolds) {
    const std::string error =
        "--inscricao recebe no máximo 11 caracteres, os que cabem no cabeçalho do arquivo: ";
    const struct {
        const char* name;
        QString inscricao;
        std::string error;
    } cases[] = {
        {"onze", "12345678901", ""},
        {"onze-entre-brancos", " 12345678901\t", ""},
        {"onze-acentuados", QString(11, QChar(0xE7)), ""},
        {"doze", "123456789012", error + "123456789012"},
        {"doze-acentuados", QString(12, QChar(0xE7)), error + QString(12, QChar(0xE7)).toStdString()},
        {"dezoito", "123456789012345680", error + "123456789012345680"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parse(kRequired + QStringList{"--inscricao", c.inscricao}).usageError, c.error) << c.name;
    }
}

TEST(ExportOptions, ArquivoIsANameWithoutFolder) {
    const std::string error = "--arquivo recebe só o nome do arquivo, sem pasta (a pasta vai em --destino): ";
    const struct {
        const char* name;
        const char* arquivo;
        std::string error;
    } cases[] = {
        {"sobe", "../x.txt", error + "../x.txt"},
        {"desce", "sub/x.txt", error + "sub/x.txt"},
        {"absoluto", "/tmp/x.txt", error + "/tmp/x.txt"},
        {"barra-no-fim", "x.txt/", error + "x.txt/"},
        {"barra-invertida", "pasta\\x.txt", error + "pasta\\x.txt"},
        {"ponto", ".", error + "."},
        {"dois-pontos", "..", error + ".."},
        {"simples", "saida.txt", ""},
        {"com-pontos", "..saida..txt", ""},
        {"com-brancos", " saida .txt", ""},
    };
    for (const auto& c : cases) {
        const ParsedOptions parsed =
            parse(kRequired + QStringList{"--inscricao", "1", "--arquivo", c.arquivo});
        EXPECT_EQ(parsed.usageError, c.error) << c.name;
        if (c.error.empty()) {
            EXPECT_EQ(parsed.options.arquivo, c.arquivo) << c.name;
        }
    }
}

TEST(ExportOptions, PathsKeepTheirBytesAndTextIsReadAsUtf8) {
    const ParsedOptions parsed =
        parseExportOptions({"kalvian-export", "--origem", "/dados/vrk\xE9", "--inicio", "01/01/2008", "--fim",
                            "31/01/2008", "--inscricao", "12\xC3\xA7\xFF", "--destino",
                            "/sa\xEF"
                            "da",
                            "--arquivo",
                            "sa\xEF"
                            "da.txt"});
    ASSERT_EQ(parsed.usageError, "");
    EXPECT_EQ(parsed.options.origem, "/dados/vrk\xE9");
    EXPECT_EQ(parsed.options.destino, "/sa\xEF"
                                      "da");
    EXPECT_EQ(parsed.options.arquivo, "sa\xEF"
                                      "da.txt");
    // Text that is not UTF-8 is shown as U+FFFD, as before.
    EXPECT_EQ(parsed.options.inscricoes, std::vector<std::string>{"12\xC3\xA7\xEF\xBF\xBD"});
}

TEST(ExportOptions, HelpNeedsNothingElse) {
    for (const char* flag : {"-h", "--ajuda", "--help"}) {
        const ParsedOptions parsed = parse({flag});
        EXPECT_EQ(parsed.usageError, "") << flag;
        EXPECT_TRUE(parsed.options.ajuda) << flag;
    }
}

} // namespace
} // namespace kalvian
