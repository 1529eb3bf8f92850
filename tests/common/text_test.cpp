#include "common/ascii_digits.h"
#include "common/trim.h"
#include "common/utf8.h"
#include "common/windows1252.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

TEST(TrimBlanks, KeepsTheInside) {
    EXPECT_EQ(trimBlanks("\x01 a  b \x7f "), "a  b \x7f");
    EXPECT_EQ(trimBlanks(" \t "), "");
    EXPECT_EQ(trimBlanks("\xE7 "), "\xE7");
}

TEST(AsciiDigits, EveryByteOfEveryLength) {
    // Each length up to two words and a half, with one byte that is no digit at each place in turn.
    for (std::size_t length = 0; length <= 20; ++length) {
        const std::string digits(length, '7');
        EXPECT_TRUE(allAsciiDigits(digits)) << length;
        for (std::size_t at = 0; at < length; ++at) {
            for (const char other : {'/', ':', ' ', '\0', '\xB0', '\xF9'}) {
                std::string text = digits;
                text[at] = other;
                EXPECT_FALSE(allAsciiDigits(text)) << length << " " << at << " " << int{other};
            }
        }
    }
    EXPECT_TRUE(allAsciiDigits("0123456789012"));
}

TEST(Windows1252, ConvertsTypedText) {
    const struct {
        const char* name;
        std::string utf8;
        std::string cp1252;
    } cases[] = {
        {"ascii", "ABC 123", "ABC 123"},
        {"acentos", "Conceição São José", "Concei\xE7\xE3o S\xE3o Jos\xE9"},
        {"euro-e-aspas", "€ “x” –", "\x80 \x93x\x94 \x96"},
        {"nbsp-e-ypsilon", "\xC2\xA0\xC3\xBF", "\xA0\xFF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8ToWindows1252(c.utf8), c.cp1252) << c.name;
    }
}

TEST(Windows1252, UnmappableAndMalformedBecomeQuestionMarks) {
    EXPECT_EQ(utf8ToWindows1252("Ж中😀"), "???");
    EXPECT_EQ(utf8ToWindows1252("a\xC3"), "a?");
    EXPECT_EQ(utf8ToWindows1252("\xFF\x80z"), "??z");
    EXPECT_EQ(utf8ToWindows1252("\xE2\x82"), "??");
    EXPECT_EQ(utf8ToWindows1252("\xC0\xAF"), "??"); // an overlong "/"
}

TEST(Windows1252, BackToUtf8KeepsEveryByte) {
    // The five bytes Windows leaves undefined come back as the C1 controls of their number, and go there
    // again.
    for (int byte = 1; byte < 256; ++byte) {
        const std::string text(1, static_cast<char>(byte));
        const std::string utf8 = windows1252ToUtf8(text);
        EXPECT_EQ(validUtf8(utf8), utf8) << byte;
        EXPECT_EQ(utf8ToWindows1252(utf8), text) << byte;
    }
    EXPECT_EQ(windows1252ToUtf8("Jo\xE3o \x80"), "João €");
}

// ---- UTF-8

TEST(Utf8, WellFormedSequencesOnly) {
    const struct {
        const char* name;
        std::string text;
        std::string valid;
    } cases[] = {
        {"ascii", "abc", "abc"},
        {"dois-a-quatro-bytes", "\xC3\xA7\xE2\x82\xAC\xF0\x9F\x98\x80",
         "\xC3\xA7\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"continuacao-solta",
         "a\x80"
         "b",
         "a\xEF\xBF\xBD"
         "b"},
        {"sequencia-cortada", "a\xE2\x82", "a\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"longa-demais", "\xE0\x80\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"surrogate", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"acima-de-10ffff", "\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"latin-1",
         "S\xE3"
         "o",
         "S\xEF\xBF\xBD"
         "o"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(validUtf8(c.text), c.valid) << c.name;
    }
}

TEST(Utf8, EncodesWhatItDecodes) {
    for (const char32_t codePoint : {0x41u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFDu, 0x10000u, 0x10FFFFu}) {
        std::string text;
        appendUtf8(text, codePoint);
        const auto decoded = decodeUtf8(text, 0);
        ASSERT_TRUE(decoded.has_value()) << static_cast<std::uint32_t>(codePoint);
        EXPECT_EQ(decoded->codePoint, codePoint);
        EXPECT_EQ(decoded->length, text.size());
    }
}

} // namespace
} // namespace kalvian
