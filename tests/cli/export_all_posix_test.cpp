// kalvian-export --todas stopped by a signal midway, from a shell script as a user's job control does it
// (POSIX).
#include "export_all_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::namesIn;
using test::readFile;

class HostileExportAllPosixTest : public test::HostileExportAllTest {
protected:
    // Runs a bash script in the scratch folder, where each "EXPORT" stands for the program with the
    // arguments of a run over the first half of 2008 into the destination.
    int script(std::string lines) const {
        const std::string command = "'" KALVIAN_EXPORT_PROGRAM "' " + firstHalf("--todas --substituir");
        for (std::size_t at; (at = lines.find("EXPORT")) != std::string::npos;) {
            lines.replace(at, 6, command);
        }
        const fs::path file = scratch.path() / "script.sh";
        test::writeFile(file, "cd '" + scratch.path().string() + "'\n" + lines);
        return std::system(("bash '" + file.string() + "' >/dev/null 2>&1").c_str());
    }
};

TEST_F(HostileExportAllPosixTest, ARunStoppedMidwayLeavesOnlyWholeFilesUnderTheirNames) {
    // (Not SIGINT: a shell script starts its background runs with SIGINT ignored.)
    for (const char* signal : {"TERM", "HUP", "KILL"}) {
        fs::remove_all(destino());
        fs::create_directory(destino());
        // Stopped once it has written its first files.
        ASSERT_EQ(script("EXPORT & p=$!\n"
                         "while [ $(ls saida | wc -l) -lt 20 ] && kill -0 $p 2>/dev/null; do :; done\n"
                         "kill -" +
                         std::string(signal) + " $p\nwait $p\nexit 0\n"),
                  0)
            << signal;
        const std::size_t whole = expectWholeFiles(signal);
        EXPECT_GE(whole, 19u) << signal;
        EXPECT_LT(whole, 300u) << signal << ": the run ended before it was stopped";
    }
}

} // namespace
} // namespace kalvian
