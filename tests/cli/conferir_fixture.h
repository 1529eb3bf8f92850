#pragma once

#include "cli/program_run.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>

// kalvian-export --conferir run in a temporary folder, over a golden export file or the demo tables.
namespace kalvian::test {

inline const std::string kGolden = std::string(KALVIAN_TEST_DATA_DIR) + "/cli/inscricao-123-marco-2008.txt";
inline const std::string kDemo = std::string(KALVIAN_SOURCE_DIR) + "/samples/vrk3";

class ConferirTest : public ::testing::Test {
public:
    ProcessEnd run(const std::string& arguments, const std::string& locale = "C") const {
        return runExport(arguments, folder.path(), locale);
    }
    std::string file() const { return folder / "VRK3.txt"; }

    TempFolder folder;
};

} // namespace kalvian::test
