#pragma once

#include "cli/program_run.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// kalvian-export --resumo over the demo tables, run from a temporary folder.
namespace kalvian::test {

inline const std::string kDemo = std::string(KALVIAN_SOURCE_DIR) + "/samples/vrk3";
inline const std::string kYear = "--inicio 01/01/2008 --fim 15/12/2008 ";

class ResumoTest : public ::testing::Test {
public:
    ResumoTest() { std::filesystem::create_directory(saida()); }

    ProcessEnd run(const std::string& arguments) const {
        return runExport("--origem '" + kDemo + "' " + kYear + arguments, folder.path());
    }
    std::filesystem::path saida() const { return folder.path() / "saida"; }

    TempFolder folder;
};

} // namespace kalvian::test
