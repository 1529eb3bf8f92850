// The export run where only POSIX systems can put it: a dangling symbolic link under the name, the system
// calls failing with their errno through the POSIX seam, read-only and tiny file systems mounted for the
// test.
#include "export_run_fixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/mount.h>
#include <unistd.h>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::invoice;
using test::kGoldenDir;
using test::readFile;
using test::writeFile;

class ExportRunPosixTest : public test::ExportRunTest {};

TEST_F(ExportRunPosixTest, DanglingLinkIsAnExistingFileForTheQuestion) {
    fs::create_symlink("ainda-nao.txt", target());
    view.answerYes = false;
    EXPECT_FALSE(ExportaDados(view, data.sources(), '/'));
    EXPECT_EQ(view.events.front().rfind("ask Arquivo encontrado", 0), 0u);
    EXPECT_FALSE(fs::exists(folder / "ainda-nao.txt"));

    view.answerYes = true;
    EXPECT_TRUE(ExportaDados(view, data.sources(), '/'));
    EXPECT_TRUE(fs::is_symlink(target()));
    EXPECT_EQ(readFile(folder / "ainda-nao.txt"), readFile(kGoldenDir + "/tres-emitidas-duas-recebidas.txt"));
}

// Fails one system call the way a real disk or folder would.
class FailingCalls : public FileCalls {
public:
    enum class Step { Create, Write, Sync, Publish };
    FailingCalls(Step step, int error, std::size_t bytesBeforeFailure = 0)
        : m_step(step), m_error(error), m_budget(bytesBeforeFailure) {}

    int createUnnamed(int folder, int& fd) override {
        return m_step == Step::Create ? m_error : FileCalls::createUnnamed(folder, fd);
    }
    int write(int fd, const char* data, std::size_t size, std::size_t& written) override {
        if (m_step != Step::Write) {
            return FileCalls::write(fd, data, size, written);
        }
        if (m_budget == 0) {
            return m_error;
        }
        const std::size_t allowed = std::min(size, m_budget);
        m_budget -= allowed;
        return FileCalls::write(fd, data, allowed, written);
    }
    int sync(int fd) override { return m_step == Step::Sync ? m_error : FileCalls::sync(fd); }
    int nameUnnamed(int fd, int folder, const std::string& name) override {
        return m_step == Step::Publish ? m_error : FileCalls::nameUnnamed(fd, folder, name);
    }
    int rename(int folder, const std::string& from, const std::string& to) override {
        return m_step == Step::Publish ? m_error : FileCalls::rename(folder, from, to);
    }

private:
    Step m_step;
    int m_error;
    std::size_t m_budget;
};

TEST_F(ExportRunPosixTest, InjectedFaultsGiveTheirMessagesAndKeepTheOldFile) {
    const struct {
        const char* name;
        FailingCalls::Step step;
        int error;
        std::size_t budget;
        const char* message;
    } cases[] = {
        {"disco-cheio-no-meio", FailingCalls::Step::Write, ENOSPC, 300, "Disk full"},
        {"cota-excedida", FailingCalls::Step::Write, EDQUOT, 0, "Disk full"},
        {"arquivos-abertos-demais", FailingCalls::Step::Create, EMFILE, 0, "Too many open files"},
        {"erro-de-dispositivo", FailingCalls::Step::Write, EIO, 10, "I/O error 5"},
        {"sincronizacao-falha", FailingCalls::Step::Sync, EIO, 0, "I/O error 5"},
        {"renomear-sem-permissao", FailingCalls::Step::Publish, EACCES, 0, "File access denied"},
    };
    for (const auto& c : cases) {
        writeFile(target(), "antigo");
        view.events.clear();
        FailingCalls calls(c.step, c.error, c.budget);
        EXPECT_EQ(failureOf(calls), c.message) << c.name;
        EXPECT_EQ(readFile(target()), "antigo") << c.name;
        EXPECT_EQ(leftovers(), std::vector<std::string>{"saida.txt"}) << c.name;
        EXPECT_EQ(view.events.back(), "panel pnlBotoes") << c.name;
    }
}

// A folder nobody may write to: its permissions for an ordinary user, a read-only mount for root, whom
// permissions do not stop.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const fs::path& path) : m_path(path) {
        fs::create_directory(path);
        if (::geteuid() != 0) {
            fs::permissions(path, fs::perms::owner_read | fs::perms::owner_exec);
            m_ready = true;
        } else {
            m_mounted = ::mount("tmpfs", path.c_str(), "tmpfs", MS_RDONLY, "size=64k") == 0;
            m_ready = m_mounted;
        }
    }
    ~ReadOnlyFolder() {
        if (m_mounted) {
            ::umount2(m_path.c_str(), MNT_DETACH);
        }
    }
    bool ready() const { return m_ready; }

private:
    fs::path m_path;
    bool m_mounted = false;
    bool m_ready = false;
};

TEST_F(ExportRunPosixTest, ReadOnlyFolderIsAccessDenied) {
    const ReadOnlyFolder locked(folder.path() / "travada");
    if (!locked.ready()) {
        GTEST_SKIP() << "this machine allows no read-only folder for root";
    }
    view.folder = folder / "travada";
    EXPECT_EQ(failureOf(), "File access denied");
}

// A real full disk: a tiny file system that the export outgrows.
TEST_F(ExportRunPosixTest, RealFullDisk) {
    const fs::path small = folder.path() / "pequeno";
    fs::create_directory(small);
    if (::geteuid() != 0 || ::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=8k") != 0) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    std::vector<MemoryRecord> many(200, invoice(3, "1", 101, 1));
    MemoryQuery issued(std::move(many));
    view.folder = small.string();
    writeFile(small / "saida.txt", "antigo");
    std::string message;
    try {
        ExportaDados(view, {issued, data.received, data.clients}, '/');
    } catch (const Error& error) {
        message = error.what();
    }
    EXPECT_EQ(message, "Disk full");
    EXPECT_EQ(readFile(small / "saida.txt"), "antigo");
    EXPECT_EQ(std::distance(fs::directory_iterator(small), fs::directory_iterator()), 1);
    ::umount2(small.c_str(), MNT_DETACH);
}

} // namespace
} // namespace kalvian
