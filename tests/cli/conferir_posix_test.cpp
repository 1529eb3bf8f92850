// kalvian-export --conferir where POSIX systems alone can set it up or watch it: files exported under the
// locales LC_ALL names, reading a pipe through /dev/stdin, and the peak memory of a run (wait4) over large
// files.
#include "conferir_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::kDemo;
using test::kGolden;
using test::ProcessEnd;
using test::readFile;
using test::writeFile;

class ConferirPosixTest : public test::ConferirTest {};

// The date separator inside the lines is the user's locale's: a file from any of them passes, with the
// same totals.
TEST_F(ConferirPosixTest, FilesWrittenUnderEveryLocalePass) {
    const struct {
        const char* locale;
        char separator;
    } cases[] = {{"C", '/'}, {"de_DE.UTF-8", '.'}, {"nl_NL.UTF-8", '-'}, {"pt_BR.UTF-8", '/'}};
    std::string firstTotals;
    for (const auto& c : cases) {
        const ProcessEnd exported = run("--origem '" + kDemo +
                                            "' --inscricao 2002 --inicio 01/01/2008 --fim 15/12/2008 "
                                            "--arquivo VRK3.txt --substituir",
                                        c.locale);
        ASSERT_EQ(exported.exitCode, 0) << c.locale << ": " << exported.err;
        EXPECT_EQ(readFile(file()).substr(16 + 3, 1), std::string(1, c.separator)) << c.locale;

        const ProcessEnd checked = run("--conferir VRK3.txt");
        EXPECT_EQ(checked.exitCode, 0) << c.locale << ": " << checked.err;
        // The counts and the totals as the export printed them, piece by piece.
        const auto piece = [&](const char* first, const char* next) {
            const std::size_t start = checked.out.find(first);
            return checked.out.substr(start, checked.out.find(next, start) - start);
        };
        const std::string counts = piece("Emitidas:", "Notas X");
        const std::string totals = piece("Notas X", "Arquivo conferido");
        EXPECT_NE(exported.out.find(counts), std::string::npos) << c.locale << ": " << counts;
        EXPECT_NE(exported.out.find(totals), std::string::npos) << c.locale << ": " << totals;
        if (firstTotals.empty()) {
            firstTotals = counts + totals;
        }
        EXPECT_EQ(counts + totals, firstTotals) << c.locale;
    }
}

TEST_F(ConferirPosixTest, ReadsFromAPipe) {
    const std::string out = folder / "out.txt";
    const std::string command = "cat '" + kGolden +
                                "' | LC_ALL=C '" KALVIAN_EXPORT_PROGRAM "' --conferir /dev/stdin >'" + out +
                                "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << readFile(out);
    EXPECT_NE(readFile(out).find("Arquivo conferido: 6 linhas sem erros.\n"), std::string::npos)
        << readFile(out);
}

// ---- Memory

struct Measured {
    int exitCode = -1;
    long peakKilobytes = 0;
};

// One run of --conferir as its own process, with its peak resident memory.
Measured conferir(const std::string& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
        ::execl(KALVIAN_EXPORT_PROGRAM, "kalvian-export", "--conferir", path.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss};
}

TEST_F(ConferirPosixTest, LargeFilesInTheMemoryOfOneBuffer) {
    // 640 copies of the demo registration's issued lines, then as many of its received lines: 75 MB.
    ASSERT_EQ(run("--origem '" + kDemo +
                  "' --inscricao 1001 --inicio 01/01/2008 --fim 15/12/2008 --arquivo VRK3.txt --substituir")
                  .exitCode,
              0);
    const std::string small = readFile(file());
    const std::size_t firstReceived = small.find("\r\nR") + 2;
    const std::string issued = small.substr(16, firstReceived - 16);
    const std::string received = small.substr(firstReceived);
    {
        std::ofstream large(folder / "grande.txt", std::ios::binary);
        large << small.substr(0, 16);
        for (int i = 0; i < 640; ++i) {
            large << issued;
        }
        for (int i = 0; i < 640; ++i) {
            large << received;
        }
    }
    // One line of 60 MB.
    writeFile(folder / "linha.txt", small.substr(0, 16) + "E" + std::string(60u << 20, '0'));
    ASSERT_GT(fs::file_size(folder / "grande.txt"), 60u << 20);

    const Measured base = conferir(file());
    const Measured large = conferir(folder / "grande.txt");
    const Measured line = conferir(folder / "linha.txt");
    EXPECT_EQ(base.exitCode, 0);
    EXPECT_EQ(large.exitCode, 0);
    EXPECT_EQ(line.exitCode, 1);
    // Far less than the 60 MB or more of either file above what a small one takes.
    EXPECT_LT(large.peakKilobytes - base.peakKilobytes, 8 * 1024) << base.peakKilobytes;
    EXPECT_LT(line.peakKilobytes - base.peakKilobytes, 8 * 1024) << base.peakKilobytes;
}

} // namespace
} // namespace kalvian
