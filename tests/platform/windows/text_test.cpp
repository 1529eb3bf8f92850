// Windows's own conversions: the code pages of the tables to Windows-1252 through the system's tables (no
// iconv), names between UTF-8 and UTF-16, and the whole paths that lift the 260-character limit.
#include "platform/code_page_converter.h"
#include "platform/windows/wide_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kalvian {
namespace {

TEST(CodePageConverterWindows, ConvertsToWindows1252AndMarksWhatHasNoForm) {
    const struct {
        const char* name;
        int codePage;
        std::string input;
        std::string output;
        bool complete;
    } cases[] = {
        {"cp850-acentos", 850, "Concei\x87\xC6o S\xC6o Jo\xC6o", "Concei\xE7\xE3o S\xE3o Jo\xE3o", true},
        {"cp437-cedilha", 437, "\x80\x87\xA4", "\xC7\xE7\xF1", true},
        {"cp860-til", 860, "\x84\x94", "\xE3\xF5", true},
        // A shade and a Greek letter: no Windows-1252 form, and no look-alike either.
        {"cp850-sem-forma", 850,
         "a\xB0"
         "b",
         "a?b", true},
        {"cp437-alfa", 437, "\xE0", "?", true},
        {"cp1251-cirilico", 1251, "\xC0\xE0", "??", true},
        // Shift-JIS: a whole character, then a lead byte the input ends in.
        {"cp932-inteiro-e-cortado", 932,
         "A\x82\xA0"
         "B\x82",
         "A?B?", false},
    };
    for (const auto& c : cases) {
        const auto converter = CodePageConverter::open(c.codePage);
        ASSERT_NE(converter, nullptr) << c.name;
        bool complete = true;
        EXPECT_EQ(converter->toWindows1252(c.input, complete), c.output) << c.name;
        EXPECT_EQ(complete, c.complete) << c.name;
    }
    EXPECT_EQ(CodePageConverter::open(0), nullptr);
    EXPECT_EQ(CodePageConverter::open(4242), nullptr);
}

TEST(WideTextWindows, NamesGoBetweenUtf8AndUtf16Unchanged) {
    for (const std::string utf8 :
         {"", "Concei\xC3\xA7\xC3\xA3o.txt", "S\xC3\xA3o Jo\xC3\xA3o", "\xF0\x9F\x93\x81"}) {
        EXPECT_EQ(toUtf8(toWide(utf8)), utf8);
    }
    EXPECT_EQ(toWide("S\xC3\xA3o"), L"S\u00E3o");
    EXPECT_EQ(toWide("\xF0\x9F\x93\x81").size(), 2u);
}

TEST(WideTextWindows, SystemPathsAreWholeWithBackslashesInTheLongForm) {
    const struct {
        const char* name;
        const char* path;
        const wchar_t* system;
    } cases[] = {
        {"unidade", "C:\\Contabilidade\\VRK3", L"\\\\?\\C:\\Contabilidade\\VRK3"},
        {"barras", "C:/Contabilidade/VRK3/", L"\\\\?\\C:\\Contabilidade\\VRK3\\"},
        {"pontos", "C:\\a\\..\\b\\.\\c.txt", L"\\\\?\\C:\\b\\c.txt"},
        {"rede", "\\\\servidor\\dados\\x.txt", L"\\\\?\\UNC\\servidor\\dados\\x.txt"},
        {"ja-longo", "\\\\?\\C:\\x", L"\\\\?\\C:\\x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(systemPath(c.path), c.system) << c.name;
    }
    const std::wstring relative = systemPath("saida.txt");
    EXPECT_EQ(relative.rfind(L"\\\\?\\", 0), 0u);
    EXPECT_EQ(relative.substr(relative.size() - 10), L"\\saida.txt");
    EXPECT_EQ(folderOf(L"\\\\?\\C:\\a\\b.txt"), L"\\\\?\\C:\\a\\");
}

} // namespace
} // namespace kalvian
