#include "common/path.h"
#include "common/trim.h"
#include "common/windows1252.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

TEST(TrimBlanks, KeepsTheInside) {
    EXPECT_EQ(trimBlanks("\x01 a  b \x7f "), "a  b \x7f");
    EXPECT_EQ(trimBlanks(" \t "), "");
    EXPECT_EQ(trimBlanks("\xE7 "), "\xE7");
}

TEST(MontaCaminho, JoinsWithOneSeparator) {
    const std::string sep(1, kPathSeparator);
    const struct {
        const char* name;
        const char* folder;
        const char* file;
        std::string path;
    } cases[] = {
        {"sem-barra", "/dados/vrk", "DSEMI.DB", "/dados/vrk" + sep + "DSEMI.DB"},
        {"com-barra", "/dados/vrk/", "DSEMI.DB", "/dados/vrk/DSEMI.DB"},
        {"com-contrabarra", "C:\\dados\\", "DSEMI.DB", "C:\\dados\\DSEMI.DB"},
        {"brancos-na-pasta", "  /dados/vrk/ \t", "DSEMI.DB", "/dados/vrk/DSEMI.DB"},
        {"brancos-no-nome-ficam", "/dados", " x.txt", "/dados" + sep + " x.txt"},
        {"pasta-vazia", "", "x.txt", sep + "x.txt"},
        {"pasta-so-brancos", "   ", "x.txt", sep + "x.txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MontaCaminho(c.folder, c.file), c.path) << c.name;
    }
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
}

} // namespace
} // namespace kalvian
