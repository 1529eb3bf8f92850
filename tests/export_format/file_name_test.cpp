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
        {"acento-fica", "12\xC3\xA7", "VRK3_12\xC3\xA7__01_01_2008__31_01_2008.txt"},
        {"pontos-ficam", "..", "VRK3_..__01_01_2008__31_01_2008.txt"},
        {"brancos-de-fora-saem", "\t 123 \n", "VRK3_123__01_01_2008__31_01_2008.txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NomeArquivoPadrao(c.registration, kJanuary2008), c.expected) << c.name;
    }
}

} // namespace
} // namespace kalvian
