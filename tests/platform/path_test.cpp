#include "platform/path.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

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

} // namespace
} // namespace kalvian
