// kalvian-export on Windows with names in UTF-16 end to end: folders and a file with accents given on the
// command line as a user types them, and a destination deeper than 260 characters.
#include "cli/program_run.h"
#include "support/temp_folder.h"
#include "support/windows/wide_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::makeFolders;
using test::readFile;
using test::readWide;

const std::string kDemo = std::string(KALVIAN_SOURCE_DIR) + "/samples/vrk3";
const std::string kGolden =
    std::string(KALVIAN_TEST_DATA_DIR) + "/cli/demo/VRK3_2002__01_01_2008__15_12_2008.txt";

// The demo tables copied, through the wide API, into a folder of the given UTF-8 path.
void copyDemoTables(const std::string& folder) {
    makeFolders(folder);
    for (const char* table : {"DSEMI.DB", "DSREC.DB", "DSCLI.DB"}) {
        const std::u8string name(reinterpret_cast<const char8_t*>(folder.data()), folder.size());
        fs::copy_file(fs::path(kDemo) / table, fs::path(name) / table);
    }
}

TEST(ExportNamesWindows, FoldersAndFilesWithAccentsAndLongPaths) {
    const test::TempFolder scratch;
    std::string deep = scratch / "Sa\xC3\xAD"
                                 "da";
    while (deep.size() <= 280) {
        deep += "\\pasta-de-nome-comprido";
    }
    const struct {
        const char* name;
        std::string origem;
        std::string destino;
        std::string arquivo;
    } cases[] = {
        {"acentos", scratch / "Contabilidade\\S\xC3\xA3o Jo\xC3\xA3o\\VRK3",
         scratch / "Declara\xC3\xA7\xC3\xB5"
                   "es",
         "Concei\xC3\xA7\xC3\xA3o.txt"},
        {"caminho-longo", scratch / "Contabilidade\\S\xC3\xA3o Jo\xC3\xA3o\\VRK3", deep, "VRK3_2002.txt"},
    };
    copyDemoTables(cases[0].origem);
    for (const auto& c : cases) {
        makeFolders(c.destino);
        const test::ProcessEnd end =
            test::runExport("--origem '" + c.origem +
                                "' --inscricao 2002 --inicio 01/01/2008 --fim 15/12/2008 "
                                "--destino '" +
                                c.destino + "' --arquivo '" + c.arquivo + "'",
                            scratch.path());
        EXPECT_EQ(end.exitCode, 0) << c.name << ": " << end.err;
        const std::string exported = c.destino + "\\" + c.arquivo;
        EXPECT_NE(end.out.find("Arquivo: " + exported + "\n"), std::string::npos)
            << c.name << ": " << end.out;
        EXPECT_EQ(readWide(exported), readFile(kGolden)) << c.name;
    }
}

} // namespace
} // namespace kalvian
