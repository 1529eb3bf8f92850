// The safe writer on real folders: with files without a name, and with hidden named temporary files where a
// file system has none; races, links, permissions, a folder moved away and signals in real child processes.
#include "platform/file_error.h"
#include "platform/replacing_file.h"
#include "support/case_names.h"
#include "support/posix/child_process.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::ChildProcess;
using test::OrdinaryUser;
using test::readFile;
using test::TempFolder;
using test::writeFile;

// A file system lacking some of what the writer prefers, each missing feature answered with the error its
// kernel or its FUSE daemon gives (0: present).
struct Lacks {
    int unnamedFiles = 0;
    int renameNoReplace = 0;
    int links = 0; // also for naming a file without a name
};

// Such a file system, where one step may also fail ("criar", "gravar", "writeback", "sync-arquivo", "nome"
// for the target's name, "permissoes", "sync-pasta"). It records the calls that matter for a power cut (the
// file's sync, the target's name appearing, the folder's sync) and which calls gave the target its name.
class LackingFileSystem : public FileCalls {
public:
    explicit LackingFileSystem(Lacks lacks, const char* failingStep = "", int error = 0)
        : m_lacks(lacks), m_failingStep(failingStep), m_error(error) {}

    std::vector<std::string> log;
    std::string way;
    std::vector<std::pair<long long, long long>> writebacks; // (offset, length)

    int createUnnamed(int folder, int& fd) override {
        return refused(m_lacks.unnamedFiles, "criar") ? m_cause : FileCalls::createUnnamed(folder, fd);
    }
    int createNew(int folder, const std::string& name, int& fd) override {
        return refused(0, "criar") ? m_cause
                                   : named("reivindicar", name, FileCalls::createNew(folder, name, fd));
    }
    int write(int fd, const char* data, std::size_t size, std::size_t& written) override {
        return refused(0, "gravar") ? m_cause : FileCalls::write(fd, data, size, written);
    }
    int startWriteback(int fd, long long offset, long long length) override {
        writebacks.emplace_back(offset, length);
        return refused(0, "writeback") ? m_cause : FileCalls::startWriteback(fd, offset, length);
    }
    int sync(int fd) override {
        struct stat info {};
        ::fstat(fd, &info);
        log.push_back(S_ISDIR(info.st_mode) ? "sync pasta" : "sync arquivo");
        return refused(0, S_ISDIR(info.st_mode) ? "sync-pasta" : "sync-arquivo") ? m_cause
                                                                                 : FileCalls::sync(fd);
    }
    int setPermissionBits(int fd, mode_t bits) override {
        return refused(0, "permissoes") ? m_cause : FileCalls::setPermissionBits(fd, bits);
    }
    int nameUnnamed(int fd, int folder, const std::string& name) override {
        return refused(m_lacks.links, "nome")
                   ? m_cause
                   : named("nomear-sem-nome", name, FileCalls::nameUnnamed(fd, folder, name));
    }
    int renameNoReplace(int folder, const std::string& from, const std::string& to) override {
        return refused(m_lacks.renameNoReplace, "nome")
                   ? m_cause
                   : named("renomear-sem-substituir", to, FileCalls::renameNoReplace(folder, from, to));
    }
    int link(int folder, const std::string& from, const std::string& to) override {
        return refused(m_lacks.links, "") ? m_cause : named("ligar", to, FileCalls::link(folder, from, to));
    }
    int rename(int folder, const std::string& from, const std::string& to) override {
        return named("renomear", to, FileCalls::rename(folder, from, to));
    }

private:
    // True, with the cause kept, when the step is the one that fails or the feature is missing.
    bool refused(int lacking, const char* step) {
        const bool failing = *step != '\0' && m_failingStep == step;
        m_cause = failing ? m_error : lacking;
        return failing || lacking != 0;
    }
    int named(const char* call, const std::string& name, int result) {
        if (result == 0 && name == "saida.txt") {
            log.push_back("nome");
            way += way.empty() ? call : std::string(" ") + call;
        }
        return result;
    }
    Lacks m_lacks;
    std::string m_failingStep;
    int m_error;
    int m_cause = 0;
};

// How the file being written is held and named: the ways the writer knows.
struct Holding {
    const char* name;
    Lacks lacks;
};

void PrintTo(const Holding& holding, std::ostream* out) {
    *out << holding.name;
}

const Lacks kWithoutUnnamedFiles{EOPNOTSUPP, 0, 0}; // vfat, older NFS
// FAT and exFAT through FUSE, GNOME's mounts of shares and phones: a new name only by creating it.
const Lacks kFuseFat{EOPNOTSUPP, EINVAL, EPERM};

const Holding kHoldings[] = {{"sem-nome", {}},
                             {"temporario-com-nome", kWithoutUnnamedFiles},
                             {"reivindicando-o-nome", kFuseFat},
                             {"sem-nome-e-sem-links", {0, EINVAL, EPERM}}};

class ReplacingFilePosixTest : public ::testing::TestWithParam<Holding> {
protected:
    LackingFileSystem& calls() { return m_calls; }
    std::string target() const { return folder / "saida.txt"; }
    std::vector<std::string> names(const fs::path& where) const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(where)) {
            found.push_back(entry.path().filename().string());
        }
        std::sort(found.begin(), found.end());
        return found;
    }
    std::vector<std::string> names() const { return names(folder.path()); }
    // The message of the writer's failure, or "no error".
    template <class Work> static std::string failureOf(Work&& work) {
        try {
            work();
        } catch (const FileError& error) {
            return error.what();
        }
        return "no error";
    }

    TempFolder folder;
    LackingFileSystem m_calls{GetParam().lacks};
};

std::string writeAndCommit(const std::string& target, FileCalls& calls, const std::string& bytes,
                           Placement placement) {
    ReplacingFile file(target, calls);
    file.write(bytes);
    return file.commit(placement) ? "gravado" : "nome tomado";
}

// ---- taking the name

TEST_P(ReplacingFilePosixTest, NewFileAppearsWholeAndAlone) {
    ReplacingFile file(target(), calls());
    file.write("H0000000012340\r\n");
    file.write(std::string(200000, 'E'));
    EXPECT_EQ(names().size(), GetParam().lacks.unnamedFiles == 0 ? 0u : 1u);
    EXPECT_TRUE(file.commit(Placement::New));
    EXPECT_EQ(readFile(target()), "H0000000012340\r\n" + std::string(200000, 'E'));
    EXPECT_EQ(names(), std::vector<std::string>{"saida.txt"});
}

TEST_P(ReplacingFilePosixTest, LargeFileGoesToTheDiskAsItGrowsWhateverTheHintAnswers) {
    for (const int hintError : {0, EINVAL}) {
        LackingFileSystem calls(GetParam().lacks, "writeback", hintError);
        const std::string bytes(9 << 20, 'E');
        EXPECT_EQ(writeAndCommit(target(), calls, bytes, Placement::Replace), "gravado");
        EXPECT_EQ(readFile(target()), bytes);
        // Each file written (a file without a name, then a named one where it can get no name) is asked
        // for from its start, piece after piece.
        ASSERT_FALSE(calls.writebacks.empty());
        long long end = 0;
        for (const auto& [offset, length] : calls.writebacks) {
            EXPECT_TRUE(offset == end || offset == 0) << offset;
            EXPECT_GE(length, 4 << 20);
            end = offset + length;
        }
    }
}

TEST_P(ReplacingFilePosixTest, RunThatLosesTheRaceChangesNothingUntilItMayReplace) {
    ReplacingFile slow(target(), calls());
    slow.write("lento");
    EXPECT_EQ(writeAndCommit(target(), calls(), "rapido", Placement::New), "gravado");

    EXPECT_FALSE(slow.commit(Placement::New));
    EXPECT_EQ(readFile(target()), "rapido");
    EXPECT_TRUE(slow.commit(Placement::Replace));
    EXPECT_EQ(readFile(target()), "lento");
    EXPECT_EQ(names(), std::vector<std::string>{"saida.txt"});
}

TEST_P(ReplacingFilePosixTest, AbandonedFileLeavesNothing) {
    writeFile(target(), "antigo");
    {
        ReplacingFile file(target(), calls());
        file.write(std::string(100000, 'x'));
    }
    {
        ReplacingFile lost(target(), calls());
        lost.write("perdeu");
        EXPECT_FALSE(lost.commit(Placement::New));
    }
    EXPECT_EQ(readFile(target()), "antigo");
    EXPECT_EQ(names(), std::vector<std::string>{"saida.txt"});
}

// ---- what is replaced keeps its place and its attributes

TEST_P(ReplacingFilePosixTest, ReplacedFileKeepsPermissionBitsOwnerAndGroup) {
    const OrdinaryUser owner = OrdinaryUser::forTests();
    for (const mode_t mode : {0600, 0640, 0444, 0755}) {
        writeFile(target(), "antigo");
        ::chmod(target().c_str(), mode);
        owner.own(target());
        EXPECT_EQ(writeAndCommit(target(), calls(), "novo", Placement::Replace), "gravado");
        struct stat info {};
        ASSERT_EQ(::stat(target().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode) << std::oct << mode;
        EXPECT_EQ(info.st_uid, owner.uid);
        EXPECT_EQ(info.st_gid, owner.gid);
        EXPECT_EQ(readFile(target()), "novo");
    }
}

TEST_P(ReplacingFilePosixTest, PermissionBitsNotTakenOverFailTheReplacementUnlessTheSystemKeepsNone) {
    const struct {
        int error;
        const char* failure;
        const char* left;
    } cases[] = {{EIO, "I/O error 5", "antigo"}, {ENOSYS, "no error", "novo"}};
    for (const auto& c : cases) {
        writeFile(target(), "antigo");
        LackingFileSystem failing(GetParam().lacks, "permissoes", c.error);
        EXPECT_EQ(failureOf([&] { writeAndCommit(target(), failing, "novo", Placement::Replace); }),
                  c.failure);
        EXPECT_EQ(readFile(target()), c.left);
        EXPECT_EQ(names(), std::vector<std::string>{"saida.txt"});
    }
}

TEST_P(ReplacingFilePosixTest, LinksAreWrittenThroughAndStay) {
    fs::create_directories(folder.path() / "real");
    const struct {
        const char* name;
        std::string link;
        std::string pointsTo;
        std::string lands;
    } cases[] = {
        {"relativo", "saida.txt", "real/alvo.txt", "real/alvo.txt"},
        {"absoluto", "abs.txt", (folder.path() / "real/abs.txt").string(), "real/abs.txt"},
        {"subindo", "real/sobe.txt", "../alvo-de-cima.txt", "alvo-de-cima.txt"},
        {"cadeia", "elo1.txt", "elo2.txt", "real/fim.txt"},
        {"pendente", "pendente.txt", "real/nao-existe-ainda.txt", "real/nao-existe-ainda.txt"},
    };
    fs::create_symlink("real/fim.txt", folder.path() / "elo2.txt");
    for (const auto& c : cases) {
        fs::create_symlink(c.pointsTo, folder.path() / c.link);
        EXPECT_EQ(writeAndCommit(folder / c.link, calls(), c.name, Placement::Replace), "gravado") << c.name;
        EXPECT_TRUE(fs::is_symlink(folder.path() / c.link)) << c.name;
        EXPECT_EQ(fs::read_symlink(folder.path() / c.link), c.pointsTo) << c.name;
        EXPECT_EQ(readFile(folder.path() / c.lands), c.name) << c.name;
    }
    EXPECT_EQ(names(folder.path() / "real"), (std::vector<std::string>{"abs.txt", "alvo.txt", "fim.txt",
                                                                       "nao-existe-ainda.txt", "sobe.txt"}));
}

TEST_P(ReplacingFilePosixTest, WhatIsNoPlainFileIsRefusedAndKept) {
    fs::create_directory(folder.path() / "pasta");
    ::mkfifo((folder / "fila").c_str(), 0600);
    fs::create_symlink("pasta", folder.path() / "para-pasta");
    fs::create_symlink("circulo-b", folder.path() / "circulo-a");
    fs::create_symlink("circulo-a", folder.path() / "circulo-b");
    fs::create_symlink("nao-ha/x.txt", folder.path() / "para-pasta-ausente");
    const struct {
        const char* name;
        const char* message;
    } cases[] = {
        {"pasta", "File access denied"},
        {"fila", "File access denied"},
        {"para-pasta", "File access denied"},
        {"circulo-a", "I/O error 40"},
        {"para-pasta-ausente", "Invalid filename"},
        {"pasta/", "Invalid filename"},
    };
    const std::vector<std::string> before = names();
    for (const auto& c : cases) {
        EXPECT_EQ(failureOf([&] { const ReplacingFile file(folder / c.name, calls()); }), c.message)
            << c.name;
    }
    EXPECT_EQ(names(), before);
    EXPECT_TRUE(fs::is_fifo(folder.path() / "fila"));
}

// ---- an ordinary user, whom permissions stop

TEST_P(ReplacingFilePosixTest, ReadOnlyFileOfAnOrdinaryUserIsRefused) {
    const OrdinaryUser user = OrdinaryUser::forTests();
    fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::others_exec);
    fs::create_directory(folder.path() / "dele");
    writeFile(folder.path() / "dele/saida.txt", "antigo");
    ::chmod((folder / "dele/saida.txt").c_str(), 0444);
    user.own(folder.path() / "dele");
    const std::string path = folder / "dele/saida.txt";
    FileCalls& fileCalls = calls();

    // Refused at once, and also when the read-only file appears while the run writes.
    ChildProcess child(
        [&] {
            std::string outcome = failureOf([&] { const ReplacingFile file(path, fileCalls); });
            const std::string other = folder / "dele/outro.txt";
            ReplacingFile late(other, fileCalls);
            late.write("novo");
            writeFile(other, "apareceu");
            ::chmod(other.c_str(), 0444);
            outcome += " / " + failureOf([&] { late.commit(Placement::Replace); });
            return outcome;
        },
        true);
    const test::ProcessEnd end = child.wait();
    EXPECT_EQ(end.exitCode, 0) << end.err;
    EXPECT_EQ(end.out, "File access denied / File access denied");
    EXPECT_EQ(readFile(path), "antigo");
    EXPECT_EQ(readFile(folder.path() / "dele/outro.txt"), "apareceu");
    EXPECT_EQ(names(folder.path() / "dele"), (std::vector<std::string>{"outro.txt", "saida.txt"}));
}

TEST_P(ReplacingFilePosixTest, OrdinaryUserReplacesAFileItMayWriteAndOwnsTheNewOne) {
    const OrdinaryUser user = OrdinaryUser::forTests();
    fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::others_exec);
    fs::create_directory(folder.path() / "dele");
    user.own(folder.path() / "dele");
    const std::string path = folder / "dele/saida.txt";
    writeFile(path, "antigo");
    ::chmod(path.c_str(), 0666);
    FileCalls& fileCalls = calls();

    ChildProcess child([&] { return writeAndCommit(path, fileCalls, "novo", Placement::Replace); }, true);
    const test::ProcessEnd end = child.wait();
    EXPECT_EQ(end.out, "gravado") << end.err;
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0666u);
    EXPECT_EQ(info.st_uid, user.uid);
    EXPECT_EQ(readFile(path), "novo");
}

// ---- a folder moved away, a failing disk

TEST_P(ReplacingFilePosixTest, FolderMovedAwayMidRunKeepsNothingThere) {
    fs::create_directory(folder.path() / "saida");
    writeFile(folder.path() / "saida/saida.txt", "antigo");
    const std::string path = folder / "saida/saida.txt";
    std::string whereAndWhy;
    try {
        ReplacingFile file(path, calls());
        file.write(std::string(100000, 'x'));
        fs::rename(folder.path() / "saida", folder.path() / "longe");
        file.commit(Placement::Replace);
    } catch (const FileError& error) {
        whereAndWhy = error.whereAndWhy();
    }
    EXPECT_EQ(whereAndWhy, path + ": a pasta de destino foi movida ou removida durante a exportação (" +
                               std::generic_category().message(ENOENT) + ")");
    EXPECT_EQ(names(folder.path() / "longe"), std::vector<std::string>{"saida.txt"});
    EXPECT_EQ(readFile(folder.path() / "longe/saida.txt"), "antigo");
}

TEST_P(ReplacingFilePosixTest, FolderIsSyncedAfterTheFileTakesItsName) {
    writeAndCommit(target(), calls(), "novo", Placement::New);
    // A file moved out of a file without a name is synced again; a claimed name appears twice.
    std::vector<std::string>& log = calls().log;
    log.erase(std::unique(log.begin(), log.end()), log.end());
    EXPECT_EQ(log, (std::vector<std::string>{"sync arquivo", "nome", "sync pasta"}));
}

TEST_P(ReplacingFilePosixTest, FailingStepsSayWhyAndLeaveNoTemporaryFile) {
    const struct {
        const char* step;
        int error;
        const char* message;
        const char* reason;
    } cases[] = {
        {"criar", EACCES, "File access denied", "sem permissão para gravar na pasta de destino"},
        {"gravar", ENOSPC, "Disk full", "disco cheio"},
        {"gravar", EIO, "I/O error 5", "falha ao gravar o arquivo"},
        {"sync-arquivo", EIO, "I/O error 5", "falha ao levar o arquivo ao disco"},
        {"nome", EACCES, "File access denied", "sem permissão para gravar na pasta de destino"},
        {"sync-pasta", EIO, "I/O error 5", "falha ao levar a pasta de destino ao disco"},
    };
    for (const auto& c : cases) {
        fs::remove(target());
        LackingFileSystem failing(GetParam().lacks, c.step, c.error);
        std::string message;
        try {
            writeAndCommit(target(), failing, "novo", Placement::New);
        } catch (const FileError& error) {
            message = std::string(error.what()) + " | " + error.whereAndWhy();
        }
        EXPECT_EQ(message, std::string(c.message) + " | " + target() + ": " + c.reason + " (" +
                               std::generic_category().message(c.error) + ")")
            << c.step;
        // Only a failed sync of the folder comes after the file took its name.
        EXPECT_EQ(names(), std::string(c.step) == "sync-pasta" ? std::vector<std::string>{"saida.txt"}
                                                               : std::vector<std::string>{})
            << c.step;
    }
}

// ---- file systems lacking what the writer prefers

TEST(LackingFileSystemsPosix, EveryCombinationGivesANewNameOnlyWhileItIsFree) {
    const int unnamedAnswers[] = {0, EOPNOTSUPP, EISDIR};
    const int renameAnswers[] = {0, EINVAL, ENOSYS, EOPNOTSUPP};
    const int linkAnswers[] = {0, EPERM, EOPNOTSUPP, ENOSYS};
    for (const int unnamed : unnamedAnswers) {
        for (const int noReplace : renameAnswers) {
            for (const int links : linkAnswers) {
                const std::string combination = "sem nome " + std::to_string(unnamed) + ", renameat2 " +
                                                std::to_string(noReplace) + ", link " + std::to_string(links);
                TempFolder folder;
                const std::string target = folder / "saida.txt";
                LackingFileSystem calls({unnamed, noReplace, links});
                // The first way the file system has, and the claim only where it has none.
                const char* expectedWay = unnamed == 0 && links == 0 ? "nomear-sem-nome"
                                          : noReplace == 0           ? "renomear-sem-substituir"
                                          : links == 0               ? "ligar"
                                                                     : "reivindicar renomear";
                EXPECT_EQ(writeAndCommit(target, calls, "novo", Placement::New), "gravado") << combination;
                EXPECT_EQ(calls.way, expectedWay) << combination;
                EXPECT_EQ(writeAndCommit(target, calls, "outro", Placement::New), "nome tomado")
                    << combination;
                EXPECT_EQ(readFile(target), "novo") << combination;
                EXPECT_EQ(writeAndCommit(target, calls, "substituto", Placement::Replace), "gravado")
                    << combination;
                EXPECT_EQ(readFile(target), "substituto") << combination;
                EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1)
                    << combination;
            }
        }
    }
}

// What may happen between claiming the name and renaming the complete file over the claim.
class ClaimMoment : public LackingFileSystem {
public:
    enum class Event { None, Signal, OtherProgram, OtherProgramAndSignal, RenameFails };
    ClaimMoment(Event event, std::string folder)
        : LackingFileSystem(kFuseFat), m_event(event), m_folder(std::move(folder)) {}

    int createNew(int folder, const std::string& name, int& fd) override {
        const int error = LackingFileSystem::createNew(folder, name, fd);
        if (error == 0 && name == "saida.txt") {
            if (m_event == Event::OtherProgram || m_event == Event::OtherProgramAndSignal) {
                writeFile(m_folder + "/dele.txt", "outro programa");
                fs::rename(m_folder + "/dele.txt", m_folder + "/saida.txt");
            }
            if (m_event == Event::Signal || m_event == Event::OtherProgramAndSignal) {
                ::raise(SIGTERM);
            }
        }
        return error;
    }
    int rename(int folder, const std::string& from, const std::string& to) override {
        return m_event == Event::RenameFails ? EIO : LackingFileSystem::rename(folder, from, to);
    }

private:
    Event m_event;
    std::string m_folder;
};

TEST(LackingFileSystemsPosix, AClaimIsRemovedOnEveryWayOutWhileItIsOurs) {
    using Event = ClaimMoment::Event;
    const struct {
        const char* name;
        Event event;
        int signal;
        const char* outcome;
        const char* left; // what bears the name afterwards; "" for nothing
    } cases[] = {
        {"nada", Event::None, 0, "gravado", "novo"},
        {"sinal", Event::Signal, SIGTERM, "", ""},
        {"outro-programa-toma-o-nome", Event::OtherProgram, 0, "nome tomado", "outro programa"},
        {"outro-programa-e-sinal", Event::OtherProgramAndSignal, SIGTERM, "", "outro programa"},
        {"renomear-falha", Event::RenameFails, 0, "I/O error 5", ""},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const std::string target = folder / "saida.txt";
        ChildProcess child([&] {
            ClaimMoment calls(c.event, folder.path().string());
            try {
                return writeAndCommit(target, calls, "novo", Placement::New);
            } catch (const FileError& error) {
                return std::string(error.what());
            }
        });
        const test::ProcessEnd end = child.wait();
        EXPECT_EQ(end.signal, c.signal) << c.name << ": " << end.err;
        EXPECT_EQ(end.out, c.outcome) << c.name;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()),
                  std::string(c.left).empty() ? 0 : 1)
            << c.name;
        EXPECT_EQ(readFile(target), c.left) << c.name;
    }
}

// ---- signals in a real process

struct SignalCase {
    const char* name;
    int signal;
};

void PrintTo(const SignalCase& signal, std::ostream* out) {
    *out << signal.name;
}

class SignalCleanupPosixTest : public ::testing::TestWithParam<SignalCase> {
protected:
    TempFolder folder;
};

// Where the file system has no files without a name, the hidden temporary file is removed before the
// signal ends the process.
TEST_P(SignalCleanupPosixTest, NamedTemporaryFileIsRemovedBeforeTheSignalEndsTheProcess) {
    const std::string target = folder / "saida.txt";
    writeFile(target, "antigo");
    const int number = GetParam().signal;
    ChildProcess child([&] {
        LackingFileSystem calls(kWithoutUnnamedFiles);
        ReplacingFile file(target, calls);
        file.write(std::string(300000, 'x'));
        ::raise(number);
        return std::string("sobreviveu");
    });
    const test::ProcessEnd end = child.wait();
    EXPECT_EQ(end.signal, number) << end.out << end.err;
    EXPECT_EQ(readFile(target), "antigo");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalCleanupPosixTest,
                         ::testing::Values(SignalCase{"SIGINT", SIGINT}, SignalCase{"SIGTERM", SIGTERM},
                                           SignalCase{"SIGHUP", SIGHUP}),
                         test::ByCaseName());

TEST(SignalCleanupPosix, IgnoredSignalStaysIgnoredAndHandledOneReachesItsHandler) {
    TempFolder folder;
    const std::string target = folder / "saida.txt";
    ChildProcess child([&] {
        static volatile std::sig_atomic_t handled = 0;
        std::signal(SIGHUP, SIG_IGN);
        std::signal(SIGTERM, [](int) { handled = 1; });
        LackingFileSystem calls(kWithoutUnnamedFiles);
        ReplacingFile file(target, calls);
        file.write("meio");
        ::raise(SIGHUP);
        ::raise(SIGTERM);
        const std::size_t left = static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()));
        return "ignorado, tratado=" + std::to_string(handled) + ", restantes=" + std::to_string(left);
    });
    const test::ProcessEnd end = child.wait();
    EXPECT_EQ(end.exitCode, 0) << end.err;
    EXPECT_EQ(end.out, "ignorado, tratado=1, restantes=0");
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

INSTANTIATE_TEST_SUITE_P(Holdings, ReplacingFilePosixTest, ::testing::ValuesIn(kHoldings),
                         test::ByCaseName());

} // namespace
} // namespace kalvian
