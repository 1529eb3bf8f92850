// kalvian-export as a hostile user and a failing machine treat it: signals mid-write, two runs at once, a
// folder moved away, links, read-only files, names that climb out of their folder or are not UTF-8, and
// malformed dates. Every run is a real process over tables written by the project's writer.
#include "common/date_serial.h"
#include "support/case_names.h"
#include "support/child_process.h"
#include "support/temp_folder.h"
#include "vrk3_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::ChildProcess;
using test::OrdinaryUser;
using test::ProcessEnd;
using test::readFile;
using test::TempFolder;
using test::writeFile;

const std::string kAlterName = "Altere o nome do Arquivo e tente exportar novamente\n";
const std::string kMarchName = "VRK3_123__01_03_2008__31_03_2008.txt";

// Registration 123 has `issued` invoices in March 2008 (enough to keep a run writing for a while when
// many), registration 456 has one.
paradox::Vrk3Tables marchTables(int issued) {
    paradox::Vrk3Tables tables;
    paradox::IssuedRow row;
    row.insmun = 123.0;
    row.data = toSerial({2008, 3, 10});
    row.valnf = 1500.5;
    row.codcli = std::int32_t{1};
    for (int number = 1; number <= issued; ++number) {
        row.numnf = std::int32_t{number};
        tables.issued.push_back(row);
    }
    row.insmun = 456.0;
    tables.issued.push_back(row);
    paradox::ClientRow client;
    client.codcli = std::int32_t{1};
    client.nome = std::string("Jo\xE3o da Silva");
    tables.clients = {client};
    return tables;
}

class ExportFileSafetyTest : public ::testing::Test {
public:
    // Tables are written once: a few invoices, enough for a run of a blink, and enough for an export file of
    // about 9 MB.
    static void SetUpTestSuite() {
        s_tables = std::make_unique<TempFolder>();
        fs::permissions(s_tables->path(), fs::perms::owner_all | fs::perms::group_read |
                                              fs::perms::group_exec | fs::perms::others_read |
                                              fs::perms::others_exec);
        for (const auto& [name, issued] :
             {std::pair{"poucas", 3}, std::pair{"medias", 5000}, std::pair{"muitas", 30000}}) {
            fs::create_directory(s_tables->path() / name);
            marchTables(issued).write(s_tables->path() / name);
        }
    }
    static void TearDownTestSuite() { s_tables.reset(); }

    void SetUp() override {
        fs::permissions(work.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        fs::create_directory(destino());
    }

    static std::string tables(const char* which) { return (s_tables->path() / which).string(); }
    fs::path destino() const { return work.path() / "saida"; }
    std::string exported(const std::string& name = kMarchName) const { return (destino() / name).string(); }

    // The program's arguments for a period over one of the table folders, then `more`.
    static std::vector<std::string> period(const char* which, const std::string& inicio,
                                           const std::string& fim, const std::vector<std::string>& more) {
        std::vector<std::string> arguments = {
            KALVIAN_EXPORT_PROGRAM, "--origem", tables(which), "--inicio", inicio, "--fim", fim};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    }
    static std::vector<std::string> march(const char* which, const std::vector<std::string>& more) {
        return period(which, "01/03/2008", "31/03/2008", more);
    }
    // Runs in the destination folder with a "C" locale, whose system texts are English.
    ChildProcess::Program program(std::vector<std::string> arguments, bool asOrdinaryUser = false) const {
        return {std::move(arguments), destino(), {"LC_ALL=C", "PATH=/usr/bin:/bin"}, asOrdinaryUser};
    }
    ProcessEnd run(std::vector<std::string> arguments, bool asOrdinaryUser = false) const {
        return test::runProgram(program(std::move(arguments), asOrdinaryUser));
    }

    // The names in a folder, sorted.
    static std::vector<std::string> namesIn(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::unique_ptr<TempFolder> s_tables;
    TempFolder work;
};

std::unique_ptr<TempFolder> ExportFileSafetyTest::s_tables;

std::string describe(const ProcessEnd& end) {
    return "exit " + std::to_string(end.exitCode) + ", signal " + std::to_string(end.signal) +
           ", stderr: " + end.err;
}

// ---- replacing the file

TEST_F(ExportFileSafetyTest, ReadOnlyTargetOfAnOrdinaryUserIsRefusedAndKept) {
    writeFile(exported(), "antigo");
    fs::permissions(exported(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    OrdinaryUser::forTests().own(destino());

    // A copy the ordinary user may run wherever the build lies.
    std::vector<std::string> arguments = march("poucas", {"--inscricao", "123", "--substituir"});
    arguments.front() = (work.path() / "kalvian-export").string();
    fs::copy_file(KALVIAN_EXPORT_PROGRAM, arguments.front());
    fs::permissions(arguments.front(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                           fs::perms::others_read | fs::perms::others_exec);

    const ProcessEnd end = run(arguments, true);
    EXPECT_EQ(end.exitCode, 1) << describe(end);
    EXPECT_EQ(end.err, "File access denied. " + exported() +
                           ": o arquivo existente não pode ser alterado (Permission denied)\n");
    EXPECT_EQ(readFile(exported()), "antigo");
    EXPECT_EQ(namesIn(destino()), std::vector<std::string>{kMarchName});
}

TEST_F(ExportFileSafetyTest, SymbolicLinksAreWrittenThroughAndStayLinks) {
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

TEST_F(ExportFileSafetyTest, ReplacedFileKeepsItsPermissionBitsAndOwner) {
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
TEST_F(ExportFileSafetyTest, RunThatLosesTheRaceBehavesAsIfTheFileHadBeenThere) {
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

TEST_F(ExportFileSafetyTest, TwoRunsAtOnceWithoutReplaceWriteOneWholeFile) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        fs::remove_all(destino());
        fs::create_directory(destino());
        ChildProcess first(program(march("medias", {"--inscricao", "123"})));
        ChildProcess second(program(march("medias", {"--inscricao", "123"})));
        const ProcessEnd ends[] = {first.wait(), second.wait()};
        const int successes = (ends[0].exitCode == 0) + (ends[1].exitCode == 0);
        EXPECT_EQ(successes, 1) << "attempt " << attempt << ": " << describe(ends[0]) << " / "
                                << describe(ends[1]);
        for (const ProcessEnd& end : ends) {
            if (end.exitCode != 0) {
                EXPECT_EQ(end.exitCode, 1) << describe(end);
                EXPECT_EQ(end.err, kAlterName);
            }
        }
        EXPECT_EQ(namesIn(destino()), std::vector<std::string>{kMarchName});
        EXPECT_EQ(readFile(exported()).size(), 16u + 5000u * 290u);
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

class SignalMidWriteTest : public ExportFileSafetyTest, public ::testing::WithParamInterface<SignalCase> {};

// O_TMPFILE in the destination folder: where the file system has it, even SIGKILL leaves nothing.
bool unnamedFilesIn(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
    }
    return fd >= 0;
}

TEST_P(SignalMidWriteTest, KeepsTheOldFileAndLeavesNoTemporaryFile) {
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

INSTANTIATE_TEST_SUITE_P(Signals, SignalMidWriteTest,
                         ::testing::Values(SignalCase{"SIGINT", SIGINT}, SignalCase{"SIGTERM", SIGTERM},
                                           SignalCase{"SIGHUP", SIGHUP}, SignalCase{"SIGKILL", SIGKILL}),
                         test::ByCaseName());

TEST_F(ExportFileSafetyTest, DestinationFolderMovedOrRemovedMidRun) {
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

// ---- names stay in their folder

TEST_F(ExportFileSafetyTest, ArquivoThatNamesAFolderIsRefused) {
    for (const char* name : {"../fora.txt", "sub/x.txt", "/tmp/x.txt", "a\\b.txt", "..", "."}) {
        const ProcessEnd end = run(march("poucas", {"--inscricao", "123", "--arquivo", name}));
        EXPECT_EQ(end.exitCode, 2) << name << ": " << describe(end);
        EXPECT_EQ(end.err, "--arquivo recebe só o nome do arquivo, sem pasta (a pasta vai em --destino): " +
                               std::string(name) + "\nUse kalvian-export --ajuda para ver as opções.\n")
            << name;
    }
    EXPECT_EQ(namesIn(work.path()), std::vector<std::string>{"saida"});
    EXPECT_TRUE(namesIn(destino()).empty());
}

TEST_F(ExportFileSafetyTest, ProposedNameStaysInTheDestinationFolder) {
    // With a folder of the name's first part there, the name read as a path would climb out of "saida".
    fs::create_directory(destino() / "VRK3_1");
    const ProcessEnd end = run(march("poucas", {"--inscricao", "1/../../esc"}));
    EXPECT_EQ(end.exitCode, 0) << describe(end);
    EXPECT_EQ(namesIn(work.path()), std::vector<std::string>{"saida"});
    EXPECT_EQ(namesIn(destino()),
              (std::vector<std::string>{"VRK3_1", "VRK3_1_.._.._esc__01_03_2008__31_03_2008.txt"}));
}

TEST_F(ExportFileSafetyTest, PathArgumentsKeepTheirBytes) {
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

// ---- command-line input

TEST_F(ExportFileSafetyTest, DatesAreExactlyDayMonthYear) {
    const std::string hint = " (use DD/MM/AAAA; dia e mês com 1 ou 2 dígitos, ano com 2 ou 4)\n";
    const struct {
        const char* name;
        std::string inicio;
        std::string err;
    } cases[] = {
        {"dia-de-tres-digitos", "123/01/2008", "Data inválida em --inicio: 123/01/2008" + hint},
        {"dia-negativo", "-5/01/2008", "Data inválida em --inicio: -5/01/2008" + hint},
        {"ano-de-cinco-digitos", "01/01/20081", "Data inválida em --inicio: 01/01/20081" + hint},
        {"texto-depois", "01/01/2008 x 99", "Data inválida em --inicio: 01/01/2008 x 99" + hint},
        {"ano-de-tres-digitos", "01/01/208", "Data inválida em --inicio: 01/01/208" + hint},
        {"outro-separador", "01-01-2008", "Data inválida em --inicio: 01-01-2008" + hint},
        {"branco-antes", " 01/01/2008", "Data inválida em --inicio:  01/01/2008" + hint},
        {"sem-ano", "01/01", "Data inválida em --inicio: 01/01" + hint},
        {"fora-do-calendario", "30/02/2008",
         "Data inválida em --inicio: 30/02/2008 (não existe no calendário)\n"},
        {"vazia", "", "Informe a data de --inicio (DD/MM/AAAA)\n"},
    };
    for (const auto& c : cases) {
        const ProcessEnd end = run(period("poucas", c.inicio, "31/03/2008", {"--inscricao", "123"}));
        EXPECT_EQ(end.exitCode, 2) << c.name << ": " << describe(end);
        EXPECT_EQ(end.err, c.err) << c.name;
    }
    EXPECT_TRUE(namesIn(destino()).empty());
}

TEST_F(ExportFileSafetyTest, ShortDatesStillRead) {
    const ProcessEnd end = run(period("poucas", "1/3/08", "31/3/2008", {"--inscricao", "123"}));
    EXPECT_EQ(end.exitCode, 0) << describe(end);
    EXPECT_EQ(namesIn(destino()), std::vector<std::string>{kMarchName});
}

TEST_F(ExportFileSafetyTest, OutputFailuresSayWhatAndWhere) {
    fs::create_directory(destino() / "pasta.txt");
    writeFile(destino() / "arquivo", "");
    const std::string longName(300, 'n');
    const struct {
        const char* name;
        std::vector<std::string> more;
        std::string err;
    } cases[] = {
        {"pasta-inexistente",
         {"--destino", (destino() / "nao/existe").string()},
         "Invalid filename. " + (destino() / "nao/existe" / kMarchName).string() +
             ": pasta de destino não encontrada (No such file or directory)\n"},
        {"nome-longo-demais",
         {"--arquivo", longName},
         "Invalid filename. " + exported(longName) + ": nome longo demais (File name too long)\n"},
        {"arquivo-no-caminho",
         {"--destino", (destino() / "arquivo").string()},
         "Invalid filename. " + (destino() / "arquivo" / kMarchName).string() +
             ": o caminho da pasta de destino passa por um arquivo (Not a directory)\n"},
        {"nome-e-uma-pasta",
         {"--arquivo", "pasta.txt"},
         "File access denied. " + exported("pasta.txt") + ": o nome é de uma pasta (Is a directory)\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> more = {"--inscricao", "123", "--substituir"};
        more.insert(more.end(), c.more.begin(), c.more.end());
        const ProcessEnd end = run(march("poucas", more));
        EXPECT_EQ(end.exitCode, 1) << c.name << ": " << describe(end);
        EXPECT_EQ(end.err, c.err) << c.name;
    }
    EXPECT_EQ(namesIn(destino()), (std::vector<std::string>{"arquivo", "pasta.txt"}));
}

} // namespace
} // namespace kalvian
