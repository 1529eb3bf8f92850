// kalvian-export as a hostile user and a failing POSIX machine treat it: signals mid-write, a run paused
// while another takes its name, a folder moved away, links, permission bits and owners, read-only files of an
// ordinary user, and names that are not UTF-8. Every run is a real process over tables written by the
// project's writer.
#include "export_file_safety_fixture.h"
#include "support/case_names.h"
#include "support/posix/child_process.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::ChildProcess;
using test::describe;
using test::kAlterName;
using test::kMarchName;
using test::marchTables;
using test::namesIn;
using test::OrdinaryUser;
using test::ProcessEnd;
using test::readFile;
using test::writeFile;

class ExportFileSafetyPosixTest : public test::ExportFileSafetyTest {};

// ---- replacing the file

TEST_F(ExportFileSafetyPosixTest, ReadOnlyTargetOfAnOrdinaryUserIsRefusedAndKept) {
    writeFile(exported(), "antigo");
    fs::permissions(exported(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    OrdinaryUser::forTests().own(destino());

    const ProcessEnd end =
        ChildProcess(program(ordinaryUsersCopy(march("poucas", {"--inscricao", "123", "--substituir"}))),
                     true)
            .wait();
    EXPECT_EQ(end.exitCode, 1) << describe(end);
    EXPECT_EQ(end.err, "File access denied. " + exported() +
                           ": o arquivo existente não pode ser alterado (Permission denied)\n");
    EXPECT_EQ(readFile(exported()), "antigo");
    EXPECT_EQ(namesIn(destino()), std::vector<std::string>{kMarchName});
}

TEST_F(ExportFileSafetyPosixTest, ReadOnlySourceFolderIsReadAsBeforeAndLeftAsItWas) {
    // A CD or a read-only share: the folder, its tables and a lock file left behind, none of them writable
    // by the ordinary user who exports.
    const fs::path source = work.path() / "vrk3";
    fs::create_directory(source);
    marchTables(3).write(source);
    writeFile(source / "PDOXUSRS.LCK", "x");
    const fs::perms readable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    for (const std::string& name : namesIn(source)) {
        fs::permissions(source / name, readable);
    }
    fs::permissions(source,
                    readable | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec);
    OrdinaryUser::forTests().own(destino());
    const std::vector<std::string> before = test::folderState(source);

    std::vector<std::string> arguments =
        ordinaryUsersCopy({KALVIAN_EXPORT_PROGRAM, "--origem", source.string(), "--inicio", "01/03/2008",
                           "--fim", "31/03/2008", "--inscricao", "123"});
    const ProcessEnd end = ChildProcess(program(arguments), true).wait();
    EXPECT_EQ(end.exitCode, 0) << describe(end);
    EXPECT_EQ(end.err, "A VRK 3 parece estar aberta com estas tabelas (PDOXUSRS.LCK nesta pasta).\n"
                       "Notas digitadas nela podem ainda não estar nos arquivos até que ela seja fechada.\n"
                       "Arquivos deixados por uma VRK 3 que não foi fechada corretamente têm a mesma "
                       "aparência.\n");
    EXPECT_EQ(test::folderState(source), before);
    // The same bytes as from the same tables in a folder anyone may write.
    ASSERT_EQ(run(march("poucas", {"--inscricao", "123", "--arquivo", "gravavel.txt"})).exitCode, 0);
    EXPECT_EQ(readFile(exported()), readFile(exported("gravavel.txt")));
}

TEST_F(ExportFileSafetyPosixTest, SymbolicLinksAreWrittenThroughAndStayLinks) {
    const struct {
        const char* name;
        std::string pointsTo; // relative to the destination folder unless absolute
        std::string lands;    // where the content goes, relative to the work folder
        bool dangling;
    } cases[] = {
        {"relativo", "../real/alvo.txt", "real/alvo.txt", false},
        {"absoluto", (work.path() / "real/alvo.txt").string(), "real/alvo.txt", false},
        {"cadeia", "elo.txt", "saida/elo2.txt", false},
        {"pendente", "../real/novo.txt", "real/novo.txt", true},
    };
    for (const auto& c : cases) {
        fs::remove_all(destino());
        fs::remove_all(work.path() / "real");
        fs::create_directory(destino());
        fs::create_directory(work.path() / "real");
        if (std::string(c.name) == "cadeia") {
            fs::create_symlink("elo2.txt", destino() / "elo.txt");
        }
        if (!c.dangling) {
            writeFile(work.path() / c.lands, "antigo");
        }
        fs::create_symlink(c.pointsTo, exported());

        const ProcessEnd refused = run(march("poucas", {"--inscricao", "123"}));
        EXPECT_EQ(refused.exitCode, 1) << c.name << ": " << describe(refused);
        EXPECT_EQ(refused.err, kAlterName) << c.name;
        EXPECT_EQ(fs::exists(work.path() / c.lands), !c.dangling) << c.name;

        const ProcessEnd replaced = run(march("poucas", {"--inscricao", "123", "--substituir"}));
        EXPECT_EQ(replaced.exitCode, 0) << c.name << ": " << describe(replaced);
        EXPECT_TRUE(fs::is_symlink(exported())) << c.name;
        EXPECT_EQ(fs::read_symlink(exported()), c.pointsTo) << c.name;
        EXPECT_EQ(readFile(work.path() / c.lands).substr(0, 16), "H0000000012340\r\n") << c.name;
        EXPECT_EQ(readFile(exported()), readFile(work.path() / c.lands)) << c.name;
    }
}

TEST_F(ExportFileSafetyPosixTest, ReplacedFileKeepsItsPermissionBitsAndOwner) {
    const OrdinaryUser owner = OrdinaryUser::forTests();
    for (const auto mode : {0600, 0640, 0604}) {
        writeFile(exported(), "antigo");
        fs::permissions(exported(), static_cast<fs::perms>(mode));
        owner.own(exported());

        const ProcessEnd end = run(march("poucas", {"--inscricao", "123", "--substituir"}));
        ASSERT_EQ(end.exitCode, 0) << describe(end);
        struct stat info {};
        ASSERT_EQ(::stat(exported().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, static_cast<mode_t>(mode)) << std::oct << mode;
        EXPECT_EQ(info.st_uid, owner.uid) << std::oct << mode;
        EXPECT_EQ(info.st_gid, owner.gid) << std::oct << mode;
        EXPECT_EQ(readFile(exported()).substr(0, 16), "H0000000012340\r\n");
    }
}

// Run A is held with its file open while run B writes the same name; A then goes on.
TEST_F(ExportFileSafetyPosixTest, RunThatLosesTheRaceBehavesAsIfTheFileHadBeenThere) {
    const struct {
        const char* name;
        std::vector<std::string> replace;
        int exitCode;
        std::string err;
        std::string header;
    } cases[] = {
        {"sem-substituir", {}, 1, kAlterName, "H0000000045640\r\n"},
        {"com-substituir", {"--substituir"}, 0, "", "H0000000012340\r\n"},
    };
    for (const auto& c : cases) {
        fs::remove_all(destino());
        fs::create_directory(destino());
        std::vector<std::string> first = {"--inscricao", "123", "--arquivo", "alvo.txt"};
        first.insert(first.end(), c.replace.begin(), c.replace.end());
        ChildProcess slow(program(march("muitas", first)));
        ASSERT_TRUE(slow.waitForFileOpenIn(destino())) << c.name << ": " << describe(slow.wait());
        slow.signal(SIGSTOP);

        const ProcessEnd fast = run(march("poucas", {"--inscricao", "456", "--arquivo", "alvo.txt"}));
        EXPECT_EQ(fast.exitCode, 0) << c.name << ": " << describe(fast);

        slow.signal(SIGCONT);
        const ProcessEnd loser = slow.wait();
        EXPECT_EQ(loser.exitCode, c.exitCode) << c.name << ": " << describe(loser);
        EXPECT_EQ(loser.err, c.err) << c.name;
        EXPECT_EQ(readFile(destino() / "alvo.txt").substr(0, 16), c.header) << c.name;
        EXPECT_EQ(namesIn(destino()), std::vector<std::string>{"alvo.txt"}) << c.name;
    }
}

// ---- nothing left behind

struct SignalCase {
    const char* name;
    int signal;
};

void PrintTo(const SignalCase& signal, std::ostream* out) {
    *out << signal.name;
}

class SignalMidWritePosixTest : public ExportFileSafetyPosixTest,
                                public ::testing::WithParamInterface<SignalCase> {};

// O_TMPFILE in the destination folder: where the file system has it, even SIGKILL leaves nothing.
bool unnamedFilesIn(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
    }
    return fd >= 0;
}

TEST_P(SignalMidWritePosixTest, KeepsTheOldFileAndLeavesNoTemporaryFile) {
    if (GetParam().signal == SIGKILL && !unnamedFilesIn(destino())) {
        GTEST_SKIP() << "this file system has no unnamed files: SIGKILL may leave a temporary file";
    }
    writeFile(exported(), "antigo");
    ChildProcess child(program(march("muitas", {"--inscricao", "123", "--substituir"})));
    ASSERT_TRUE(child.waitForFileOpenIn(destino())) << describe(child.wait());
    child.signal(GetParam().signal);
    const ProcessEnd end = child.wait();
    EXPECT_EQ(end.signal, GetParam().signal) << describe(end);
    EXPECT_EQ(readFile(exported()), "antigo");
    EXPECT_EQ(namesIn(destino()), std::vector<std::string>{kMarchName});
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalMidWritePosixTest,
                         ::testing::Values(SignalCase{"SIGINT", SIGINT}, SignalCase{"SIGTERM", SIGTERM},
                                           SignalCase{"SIGHUP", SIGHUP}, SignalCase{"SIGKILL", SIGKILL}),
                         test::ByCaseName());

TEST_F(ExportFileSafetyPosixTest, DestinationFolderMovedOrRemovedMidRun) {
    const std::string reason =
        ": a pasta de destino foi movida ou removida durante a exportação (No such file or directory)\n";
    const struct {
        const char* name;
        bool keepsAway;
    } cases[] = {{"movida", true}, {"removida", false}};
    for (const auto& c : cases) {
        fs::remove_all(destino());
        fs::remove_all(work.path() / "longe");
        fs::create_directory(destino());
        ChildProcess child(program(march("muitas", {"--inscricao", "123"})));
        ASSERT_TRUE(child.waitForFileOpenIn(destino())) << c.name << ": " << describe(child.wait());
        child.signal(SIGSTOP);
        if (c.keepsAway) {
            fs::rename(destino(), work.path() / "longe");
        } else {
            fs::remove_all(destino());
        }
        child.signal(SIGCONT);
        const ProcessEnd end = child.wait();
        EXPECT_EQ(end.exitCode, 1) << c.name << ": " << describe(end);
        EXPECT_EQ(end.err, "Invalid filename. " + exported() + reason) << c.name;
        EXPECT_FALSE(fs::exists(destino())) << c.name;
        if (c.keepsAway) {
            EXPECT_TRUE(namesIn(work.path() / "longe").empty()) << c.name;
        }
    }
}

TEST_F(ExportFileSafetyPosixTest, PathArgumentsKeepTheirBytes) {
    const fs::path origem = work.path() / "vrk\xE9";
    const fs::path destinoLatin1 = work.path() / "sa\xEF"
                                                 "da";
    fs::create_directory(origem);
    fs::create_directory(destinoLatin1);
    marchTables(3).write(origem);

    const ProcessEnd end =
        run({KALVIAN_EXPORT_PROGRAM, "--origem", origem.string(), "--inicio", "01/03/2008", "--fim",
             "31/03/2008", "--inscricao", "123", "--destino", destinoLatin1.string(), "--arquivo",
             "sa\xEF"
             "da.txt"});
    EXPECT_EQ(end.exitCode, 0) << describe(end);
    EXPECT_EQ(namesIn(destinoLatin1), std::vector<std::string>{"sa\xEF"
                                                               "da.txt"});
    EXPECT_NE(end.out.find("Arquivo: " + (destinoLatin1 / "sa\xEF"
                                                          "da.txt")
                                             .string()),
              std::string::npos)
        << end.out;
}

} // namespace
} // namespace kalvian
