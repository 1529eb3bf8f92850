// kalvian-export --resumo onto file systems mounted for the test (root only, POSIX): read-only, or that fills
// up.
#include "common/date_serial.h"
#include "resumo_fixture.h"
#include "vrk3_tables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/mount.h>
#include <unistd.h>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::kYear;
using test::namesIn;
using test::ProcessEnd;
using test::readFile;

// A small file system mounted for the test (root only): read-only, or that fills up.
class Mounted {
public:
    Mounted(const fs::path& path, unsigned long flags, const char* options) : m_path(path) {
        fs::create_directory(path);
        m_mounted = ::geteuid() == 0 && ::mount("tmpfs", path.c_str(), "tmpfs", flags, options) == 0;
    }
    ~Mounted() {
        if (m_mounted) {
            ::umount2(m_path.c_str(), MNT_DETACH);
        }
    }
    bool ready() const { return m_mounted; }

private:
    fs::path m_path;
    bool m_mounted = false;
};

class ResumoPosixTest : public test::ResumoTest {};

TEST_F(ResumoPosixTest, AFolderNobodyMayWriteStopsTheRunBeforeItExports) {
    const Mounted locked(folder.path() / "travada", MS_RDONLY, "size=64k");
    if (!locked.ready()) {
        GTEST_SKIP() << "mounting a read-only file system needs root";
    }
    const ProcessEnd result = run("--inscricao 1001 --destino saida --resumo travada/resumo.csv");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Não foi possível gravar o resumo travada/resumo.csv: File access denied.\n");
    EXPECT_EQ(namesIn(saida()), std::vector<std::string>{});
    EXPECT_EQ(namesIn(folder.path() / "travada"), std::vector<std::string>{});
}

TEST_F(ResumoPosixTest, AFullDiskKeepsTheExportsAndLeavesNoDebris) {
    const Mounted small(folder.path() / "cheio", 0, "size=4k");
    if (!small.ready()) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    // Sixty registrations of one invoice each: their rows pass 4 KiB.
    paradox::Vrk3Tables tables;
    for (int registration = 1; registration <= 60; ++registration) {
        paradox::IssuedRow row;
        row.insmun = 1000.0 + registration;
        row.data = toSerial({2008, 5, 1});
        tables.issued.push_back(row);
    }
    fs::create_directory(folder.path() / "vrk3");
    tables.write(folder.path() / "vrk3");

    const ProcessEnd result = test::runExport("--origem vrk3 " + kYear +
                                                  "--todas --destino saida "
                                                  "--resumo cheio/resumo.csv",
                                              folder.path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Não foi possível gravar o resumo cheio/resumo.csv: Disk full.\n");
    EXPECT_EQ(namesIn(saida()).size(), 60u);
    EXPECT_NE(result.out.find("Total: 60 arquivos, 60 notas em "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(" s\nEmitidas: 60\nRecebidas: 0\n"), std::string::npos) << result.out;
    EXPECT_EQ(namesIn(folder.path() / "cheio"), std::vector<std::string>{});
}

} // namespace
} // namespace kalvian
