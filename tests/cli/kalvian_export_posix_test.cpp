// kalvian-export under a locale LC_ALL names, as POSIX systems give a program its locale (Windows programs
// take theirs from the user's regional settings, which a test does not change).
#include "kalvian_export_fixture.h"
#include "support/posix/child_process.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace kalvian {
namespace {

using test::ChildProcess;
using test::ProcessEnd;
using test::readFile;
using test::runExport;

class KalvianExportPosixTest : public test::KalvianExportTest {};

TEST_F(KalvianExportPosixTest, DateSeparatorOfTheLinesComesFromTheLocale) {
    const ProcessEnd result = runExport(march("--inscricao 123"), destino(), "de_DE.UTF-8");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string file = readFile(exported());
    EXPECT_EQ(file.substr(16, 11), "E03.03.2008");
}

TEST_F(KalvianExportPosixTest, ALockFileAnotherProcessHoldsOpenIsSaidToBeOpenNow) {
    const std::string lock = origem() + "/PDOXUSRS.LCK";
    test::writeFile(lock, "");
    const ChildProcess holder([&] {
        const int fd = ::open(lock.c_str(), O_RDONLY);
        for (;;) {
            ::pause();
        }
        return std::to_string(fd);
    });
    ASSERT_TRUE(holder.waitForFileOpenIn(origem()));
    const ProcessEnd result = run(march("--inscricao 123"));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err,
              "A VRK 3 está aberta agora com estas tabelas (PDOXUSRS.LCK em uso).\n"
              "Notas digitadas nela podem ainda não estar nos arquivos até que ela seja fechada.\n");
    EXPECT_EQ(readFile(exported()),
              readFile(std::string(KALVIAN_TEST_DATA_DIR) + "/cli/inscricao-123-marco-2008.txt"));
}

} // namespace
} // namespace kalvian
