// kalvian-export under a locale LC_ALL names, as POSIX systems give a program its locale (Windows programs
// take theirs from the user's regional settings, which a test does not change).
#include "kalvian_export_fixture.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

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

} // namespace
} // namespace kalvian
