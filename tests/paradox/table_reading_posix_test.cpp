// Tables changed under the reader as only POSIX systems let them be: a file renamed over the open one, and
// another process (a fork) cutting and restoring it again and again. The reader never crashes and never
// delivers rows half old and half new.
#include "common/error.h"
#include "numbered_rows.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvian::paradox {
namespace {

namespace fs = std::filesystem;
using kalvian::test::TempFolder;
using test::codesOf;
using test::firstCodes;
using test::kBlock;
using test::kHeader;
using test::kRows;
using test::numberedRows;
using test::selectedCodesOf;
using test::writeBytes;

TEST(ChangedWhileReadPosix, AFileReplacedByRenameIsReadAsItWasOpened) {
    const TempFolder dir;
    const fs::path path = dir.path() / "DSEMI.DB";
    writeBytes(path, numberedRows().build({true, 3, 2}));
    writeBytes(dir.path() / "NOVA.DB", numberedRows(10).build());
    const Table table = Table::open(path.string());
    // Safe writers replace a file by renaming a new one over it: the open file keeps its old bytes.
    fs::rename(dir.path() / "NOVA.DB", path);
    EXPECT_EQ(codesOf(table), firstCodes(kRows));
    EXPECT_EQ(codesOf(Table::open(path.string())), firstCodes(10));
}

// Another process that cuts a table to a few blocks and writes it back whole, again and again, pausing in
// between; killed when this goes away.
class Cutter {
public:
    Cutter(const fs::path& path, const std::vector<std::byte>& good) : m_pid(::fork()) {
        if (m_pid != 0) {
            return;
        }
        const int fd = ::open(path.c_str(), O_WRONLY);
        for (std::size_t round = 0;; ++round) {
            if (::ftruncate(fd, static_cast<off_t>(kHeader + (round % 7) * kBlock)) != 0 ||
                ::pwrite(fd, good.data(), good.size(), 0) != static_cast<ssize_t>(good.size())) {
                ::_exit(3);
            }
            ::usleep(30000);
        }
    }
    ~Cutter() { stop(); }
    Cutter(const Cutter&) = delete;
    Cutter& operator=(const Cutter&) = delete;

    // True when the cutter was still at work until now.
    bool stop() {
        if (m_pid <= 0) {
            return false;
        }
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

private:
    pid_t m_pid;
};

TEST(ChangedWhileReadPosix, AnotherProcessCuttingAndRestoringTheFileNeverCrashesTheReader) {
    const TempFolder dir;
    const fs::path path = dir.path() / "DSEMI.DB";
    const std::vector<std::byte> good = numberedRows(20000).build({true, 11, 5, 1});
    writeBytes(path, good);
    Cutter cutter(path, good);

    // Scans until both outcomes have been seen often enough: the table read whole between two cuts, and
    // refused when a cut came before or during the scan.
    std::size_t whole = 0;
    std::size_t refused = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while ((whole < 10 || refused < 10) && std::chrono::steady_clock::now() < deadline) {
        try {
            const Table table = Table::open(path.string());
            // A reading that ends without a message has read the table whole and as written.
            ASSERT_EQ((whole + refused) % 2 == 0 ? codesOf(table) : selectedCodesOf(table),
                      firstCodes(20000));
            ++whole;
        } catch (const kalvian::Error& error) {
            const std::string text = error.what();
            const bool clear = text.starts_with("Não foi possível ler a tabela: " + path.string() + " (") ||
                               text.starts_with("Tabela danificada: " + path.string() + " (");
            ASSERT_TRUE(clear) << text;
            ++refused;
        }
    }
    EXPECT_TRUE(cutter.stop()) << "the cutter stopped by itself";
    EXPECT_GE(whole, 10u);
    EXPECT_GE(refused, 10u);
}

} // namespace
} // namespace kalvian::paradox
