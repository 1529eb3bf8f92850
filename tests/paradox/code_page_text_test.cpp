// Text of each code page converted to Windows-1252.
#include "paradox/code_page_text.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

namespace kalvian::paradox {
namespace {

struct TextCase {
    const char* name;
    int codePage;
    std::string stored;
    std::string windows1252;
};

class CodePageTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(CodePageTextTest, ConvertsToWindows1252) {
    const TextCase& c = GetParam();
    const std::optional<CodePageText> text = CodePageText::forCodePage(c.codePage);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->codePage(), c.codePage);
    EXPECT_EQ(text->toWindows1252(std::as_bytes(std::span(c.stored))), c.windows1252);
}

INSTANTIATE_TEST_SUITE_P(CodePages, CodePageTextTest,
                         ::testing::Values(TextCase{"cp437_cedilla", 437,
                                                    "Pra\x87"
                                                    "a",
                                                    "Pra\xE7"
                                                    "a"},
                                           TextCase{"cp437_box_drawing", 437, "\xC9\xCD", "??"},
                                           TextCase{"cp850_portuguese", 850, "S\xC6o Jo\xC6o A\x87\xC6o \x80",
                                                    "S\xE3o Jo\xE3o A\xE7\xE3o \xC7"},
                                           TextCase{"cp850_shade", 850, "\xB0", "?"},
                                           TextCase{"cp860_portuguese", 860, "\x84\x94\x80", "\xE3\xF5\xC7"},
                                           TextCase{"cp1252_as_is", 1252, "a\xE7\xE3o \x80",
                                                    "a\xE7\xE3o \x80"},
                                           // The five bytes Windows-1252 gives no character.
                                           TextCase{"cp1252_bytes_without_character", 1252,
                                                    "CAF\x81\x8D\x8F\x90\x9D", "CAF\x81\x8D\x8F\x90\x9D"},
                                           // cp850 0xFE is a square, with no Windows-1252 form.
                                           TextCase{"cp850_square", 850, "CAF\xFE", "CAF?"},
                                           TextCase{"cp866_cyrillic", 866, "\x80\xA0 1", "?? 1"},
                                           // A Chinese character (two bytes) becomes one "?"; ASCII passes.
                                           TextCase{"cp936_double_byte", 936,
                                                    "ab\xD6\xD0"
                                                    "c",
                                                    "ab?c"},
                                           TextCase{"cp936_cut_lead_byte", 936, "ab\xD6", "ab?"}),
                         kalvian::test::ByCaseName{});

// The kept text of a fixed-width field, converted where it is placed: words of eight bytes with and without
// accented letters, cut at the width, blanks and control characters dropped after conversion.
TEST(CodePageText, PlacesTheConvertedTextOverTheFill) {
    const struct {
        const char* name;
        int codePage;
        std::string stored;
        std::size_t width;
        Justify justify;
        std::string placed;
    } cases[] = {
        {"vazio", 850, "", 4, Justify::Left, "...."},
        {"uma-letra", 850, "\x87", 3, Justify::Right, "..\xE7"},
        {"palavras-de-oito", 850,
         "ABCDEFGH\x87"
         "BCDEFG\xC6"
         "IJK",
         20, Justify::Left,
         "ABCDEFGH\xE7"
         "BCDEFG\xE3"
         "IJK."},
        {"corte-na-largura", 850, " Concei\x87\xC6o Ara\xA3jo ", 9, Justify::Left, "Concei\xE7\xE3o"},
        {"a-direita", 860, "\t\x84\x94\x80 ", 6, Justify::Right, "...\xE3\xF5\xC7"},
        {"1252-como-esta", 1252, "caf\xE9 \x81\x8D\x8F\x90\x9D", 12, Justify::Left,
         "caf\xE9 \x81\x8D\x8F\x90\x9D.."},
        {"dois-bytes", 936,
         "ab\xD6\xD0"
         "c ",
         6, Justify::Right, "..ab?c"},
    };
    for (const auto& c : cases) {
        const std::optional<CodePageText> text = CodePageText::forCodePage(c.codePage);
        ASSERT_TRUE(text.has_value()) << c.name;
        std::string field(c.width, '.');
        text->placeOverFill(field, std::as_bytes(std::span(c.stored)), c.justify);
        EXPECT_EQ(field, c.placed) << c.name;
    }
}

TEST(CodePageText, Windows1252PassesEveryByte) {
    const std::optional<CodePageText> text = CodePageText::forCodePage(1252);
    ASSERT_TRUE(text.has_value());
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all.push_back(static_cast<char>(byte));
    }
    EXPECT_EQ(text->toWindows1252(std::as_bytes(std::span(all))), all);
}

TEST(CodePageText, UnknownCodePageIsNothing) {
    EXPECT_FALSE(CodePageText::forCodePage(12345).has_value());
}

} // namespace
} // namespace kalvian::paradox
