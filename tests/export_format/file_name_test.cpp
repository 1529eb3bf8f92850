#include "common/date_serial.h"
#include "export_format/file_name.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

const DateSerial k1Jan2008{toSerial({2008, 1, 1})};
const Period kJanuary2008{k1Jan2008, {toSerial({2008, 1, 31})}};

TEST(NomeArquivoPadrao, BuildsFromRegistrationAndPeriod) {
    EXPECT_EQ(NomeArquivoPadrao("123", kJanuary2008), "VRK3_123__01_01_2008__31_01_2008.txt");
    EXPECT_EQ(NomeArquivoPadrao(" 123 ", kJanuary2008), "VRK3_123__01_01_2008__31_01_2008.txt");
    EXPECT_EQ(NomeArquivoPadrao("00000000123", {k1Jan2008, k1Jan2008}),
              "VRK3_00000000123__01_01_2008__01_01_2008.txt");
    EXPECT_EQ(NomeArquivoPadrao("", kJanuary2008), "VRK3___01_01_2008__31_01_2008.txt");
    EXPECT_EQ(NomeArquivoPadrao("1", {{kBlankDate}, {toSerial({2008, 12, 15})}}),
              "VRK3_1__00_00_0000__15_12_2008.txt");
}

TEST(NomeArquivoPadrao, EveryCharacterThatCannotStandInAFileNameBecomesAnUnderscore) {
    const struct {
        const char* name;
        std::string registration;
        std::string expected;
    } cases[] = {
        {"sobe-pastas", "1/../../escaped", "VRK3_1_.._.._escaped__01_01_2008__31_01_2008.txt"},
        {"absoluto", "/etc/x", "VRK3__etc_x__01_01_2008__31_01_2008.txt"},
        {"barra-invertida", "12\\34", "VRK3_12_34__01_01_2008__31_01_2008.txt"},
        {"tabulacao-e-quebra", "12\t3\n4", "VRK3_12_3_4__01_01_2008__31_01_2008.txt"},
        {"del",
         "12\x7F"
         "3",
         "VRK3_12_3__01_01_2008__31_01_2008.txt"},
        {"c1-em-utf8",
         "12\xC2\x85"
         "3",
         "VRK3_12_3__01_01_2008__31_01_2008.txt"},
        {"recusados-pelo-windows", "1<2>3:4\"5|6?7*8", "VRK3_1_2_3_4_5_6_7_8__01_01_2008__31_01_2008.txt"},
        {"acento-fica", "12\xC3\xA7", "VRK3_12\xC3\xA7__01_01_2008__31_01_2008.txt"},
        {"pontos-ficam", "..", "VRK3_..__01_01_2008__31_01_2008.txt"},
        {"brancos-de-fora-saem", "\t 123 \n", "VRK3_123__01_01_2008__31_01_2008.txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NomeArquivoPadrao(c.registration, kJanuary2008), c.expected) << c.name;
    }
}

TEST(WindowsNameFault, RefusesWhatWindowsCannotHoldAsTyped) {
    const std::string reserved =
        " é reservado pelo Windows para um dispositivo e não pode ser nome de arquivo";
    const std::string trailing =
        " termina em ponto ou espaço, que o Windows tira do nome ao gravar o arquivo";
    const struct {
        const char* name;
        std::string fileName;
        std::string expected; // empty: the name is fine
    } cases[] = {
        {"comum", "VRK3_1001__01_01_2008__15_12_2008.txt", ""},
        {"brancos-no-inicio-ficam", "  saida.txt", ""},
        {"acentos", "Concei\xC3\xA7\xC3\xA3o.txt", ""},
        {"parecido-com-dispositivo", "CONSOLE.txt", ""},
        {"com-dois-digitos", "COM10", ""},
        {"dispositivo-no-meio", "meu.con.txt", ""},
        {"con", "CON", "O nome \"CON\"" + reserved},
        {"minusculas-com-extensao", "nul.txt", "O nome \"nul.txt\"" + reserved},
        {"duas-extensoes", "Aux.tar.gz", "O nome \"Aux.tar.gz\"" + reserved},
        {"brancos-antes-do-ponto", "prn .txt", "O nome \"prn .txt\"" + reserved},
        {"porta-serial", "com1", "O nome \"com1\"" + reserved},
        {"impressora", "LPT9.log", "O nome \"LPT9.log\"" + reserved},
        {"sobrescrito", "COM\xC2\xB9.txt", "O nome \"COM\xC2\xB9.txt\"" + reserved},
        {"console-de-entrada", "conin$", "O nome \"conin$\"" + reserved},
        {"ponto-final", "VRK3.txt.", "O nome \"VRK3.txt.\"" + trailing},
        {"branco-final", "VRK3.txt ", "O nome \"VRK3.txt \"" + trailing},
        {"ponto-ponto", "..", "O nome \"..\"" + trailing},
        {"dois-pontos", "a:b.txt",
         "O nome \"a:b.txt\" tem o caractere :, que o Windows não aceita em nomes de arquivo"},
        {"barra", "sub/x.txt",
         "O nome \"sub/x.txt\" tem o caractere /, que o Windows não aceita em nomes de arquivo"},
        {"interrogacao", "x?.txt",
         "O nome \"x?.txt\" tem o caractere ?, que o Windows não aceita em nomes de arquivo"},
        {"tabulacao", "x\t.txt",
         "O nome \"x\t.txt\" tem um caractere de controle, que o Windows não aceita em nomes de arquivo"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(windowsNameFault(c.fileName).value_or(""), c.expected) << c.name;
    }
}

} // namespace
} // namespace kalvian
