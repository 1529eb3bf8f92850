#include "export_format/fill.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

struct FillCase {
    const char* name;
    std::string value;
    int width;
    char fill;
    const char* left;  // PreencheEsquerda
    const char* right; // PreencheDireita
};

TEST(Fill, TrimsCutsAndFills) {
    const FillCase cases[] = {
        {"numero-com-zeros", "123", 8, '0', "00000123", "12300000"},
        {"vazio", "", 8, '0', "00000000", "00000000"},
        {"um-caractere-vazio", "", 1, ' ', " ", " "},
        {"brancos-em-volta", "  12 ", 5, '0', "00012", "12000"},
        {"controles-em-volta", "\t\r\n12\x1f", 4, '0', "0012", "1200"},
        {"brancos-internos-ficam", " a b ", 5, ' ', "  a b", "a b  "},
        {"maior-que-a-largura-perde-o-fim", "123456789", 8, '0', "12345678", "12345678"},
        {"exata", "ABCDE", 5, ' ', "ABCDE", "ABCDE"},
        {"so-brancos", "    ", 3, '0', "000", "000"},
        // Windows-1252 letters above 127 are text, not control characters.
        {"acentos-cp1252",
         "\xC3\x87"
         "A\xE7",
         5, ' ',
         " \xC3\x87"
         "A\xE7",
         "\xC3\x87"
         "A\xE7 "},
        {"largura-zero", "abc", 0, ' ', "", ""},
    };
    for (const FillCase& c : cases) {
        EXPECT_EQ(PreencheEsquerda(c.value, c.width, c.fill), c.left) << c.name;
        EXPECT_EQ(PreencheDireita(c.value, c.width, c.fill), c.right) << c.name;
    }
}

TEST(Fill, ClientNameOfEightyCharactersKeepsItsFirstSeventy) {
    const std::string name = std::string(70, 'N') + std::string(10, 'x');
    EXPECT_EQ(PreencheDireita(name, 70, ' '), std::string(70, 'N'));
}

} // namespace
} // namespace kalvian
