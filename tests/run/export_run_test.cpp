#include "common/date_serial.h"
#include "common/error.h"
#include "run/export_run.h"
#include "run/recording_view.h"
#include "support/memory_records.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::RecordingView;
using test::TempFolder;
using test::writeFile;

const std::string kGoldenDir = std::string(KALVIAN_TEST_DATA_DIR) + "/export";

MemoryRecord invoice(int day, const char* modu, std::int32_t number, std::int32_t client) {
    return {{"DATA", DateSerial{toSerial({2008, 3, day})}},
            {"SERIE", std::string("A")},
            {"NUMNF", number},
            {"MODU", std::string(modu)},
            {"VALNF", 1500.5},
            {"VALSER", 1000.0},
            {"RESTRB", std::string("R")},
            {"ALIQUO", 5.0},
            {"ALQRET", 0.0},
            {"IMPRET", 50.0},
            {"CODCLI", client}};
}

MemoryRecord client(std::int32_t code, const char* name) {
    return {{"CODCLI", code},
            {"INSMUN", 9876.0},
            {"NUMCNPJ", std::string("12345678000199")},
            {"NUMCPF", std::string("")},
            {"NOME", std::string(name)},
            {"RUA", std::string("Rua das Ac\xE1"
                                "cias")},
            {"NUMERO", std::int32_t{10}},
            {"COMPLE", std::string("")},
            {"BAIRRO", std::string("Centro")},
            {"CIDADE", std::string("Bras\xEDlia")},
            {"ESTADO", std::string("DF")},
            {"CEP", std::string("70000000")}};
}

// Three issued invoices (one short) and two received ones, one of whose clients is missing.
struct Sources {
    MemoryQuery issued{{invoice(3, "1", 101, 1), invoice(4, "X", 102, 2), invoice(5, "2", 103, 2)}};
    MemoryQuery received{{invoice(6, "1", 501, 2), invoice(7, "1", 502, 57)}};
    MemoryClients clients{{client(1, "Jo\xE3o da Silva"), client(2, "Concei\xE7\xE3o Servi\xE7os Ltda")}};
    ExportSources sources() { return {issued, received, clients}; }
};

class ExportRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.folder = folder.path().string();
        view.name = "saida.txt";
    }
    std::string target() const { return folder / "saida.txt"; }
    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
    std::string failureOf(FileCalls& calls = FileCalls::system()) {
        try {
            ExportaDados(view, data.sources(), '/', calls);
        } catch (const Error& error) {
            return error.what();
        }
        return "no error";
    }

    TempFolder folder;
    RecordingView view;
    Sources data;
};

// ---- a whole run

TEST_F(ExportRunTest, WritesHeaderIssuedThenReceivedLinesWithCrLf) {
    EXPECT_TRUE(ExportaDados(view, data.sources(), '/'));
    EXPECT_EQ(readFile(target()), readFile(kGoldenDir + "/tres-emitidas-duas-recebidas.txt"));
    EXPECT_EQ(view.steps, 5);
    const std::vector<std::string> expected = {
        "range 0..5",
        "step 1",
        "position 0",
        "status Criando Arquivo",
        "panel pnlExportando",
        "status Notas Emitidas...",
        "status Notas Recebidas...",
        "status Concluído.",
        "inform Exportação | Dados exportados com sucesso. (information)",
        "panel pnlBotoes",
    };
    EXPECT_EQ(view.events, expected);
    EXPECT_EQ(leftovers(), std::vector<std::string>{"saida.txt"});
}

TEST_F(ExportRunTest, NoInvoicesGiveTheHeaderAlone) {
    MemoryQuery none;
    ExportaDados(view, {none, none, data.clients}, '/');
    EXPECT_EQ(readFile(target()), "H0000000012340\r\n");
    EXPECT_EQ(view.events.front(), "range 0..0");
    EXPECT_EQ(view.steps, 0);
}

TEST_F(ExportRunTest, ExportingTwiceWritesTheSameBytes) {
    ExportaDados(view, data.sources(), '/');
    const std::string first = readFile(target());
    view.name = "outra.txt";
    ExportaDados(view, data.sources(), '/');
    EXPECT_EQ(readFile(folder / "outra.txt"), first);
}

TEST_F(ExportRunTest, RegistrationIsWrittenInTheFilesCodePage) {
    view.inscricao = " 12\xC3\xA7 "; // "12ç" typed, UTF-8
    MemoryQuery none;
    ExportaDados(view, {none, none, data.clients}, '/');
    EXPECT_EQ(readFile(target()), "H0000000012\xE7"
                                  "40\r\n");
}

// ---- the destination

TEST_F(ExportRunTest, MissingFolderOrNameFocusesItsField) {
    const struct {
        const char* name;
        const char* folder;
        const char* file;
        const char* message;
        const char* focus;
    } cases[] = {
        {"sem-pasta", " \t", "saida.txt", "Selecione a pasta onde o arquivo deverá ser gravado",
         "focus edtDestino"},
        {"sem-nome", "/tmp", "   ", "Informe um nome para o arquivo exportado", "focus edtArquivo"},
    };
    for (const auto& c : cases) {
        view.events.clear();
        view.folder = c.folder;
        view.name = c.file;
        EXPECT_EQ(failureOf(), c.message) << c.name;
        EXPECT_EQ(view.events, std::vector<std::string>{c.focus}) << c.name;
    }
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(ExportRunTest, DeclinedReplacementWritesNothing) {
    writeFile(target(), "antigo");
    view.answerYes = false;
    EXPECT_FALSE(ExportaDados(view, data.sources(), '/'));
    const std::vector<std::string> expected = {
        "ask Arquivo encontrado | O arquivo informado já existe. Deseja substituí-lo por novos dados ? "
        "(warning)",
        "focus edtArquivo",
        "inform Alerta | Altere o nome do Arquivo e tente exportar novamente (information)",
    };
    EXPECT_EQ(view.events, expected);
    EXPECT_EQ(readFile(target()), "antigo");
}

TEST_F(ExportRunTest, AcceptedReplacementLeavesNoTraceOfTheOldFile) {
    writeFile(target(), std::string(100000, 'x'));
    ExportaDados(view, data.sources(), '/');
    EXPECT_EQ(readFile(target()), readFile(kGoldenDir + "/tres-emitidas-duas-recebidas.txt"));
    EXPECT_EQ(view.events.front().rfind("ask Arquivo encontrado", 0), 0u);
}

TEST_F(ExportRunTest, FolderWithTrailingSeparatorAndNameWithLeadingBlanks) {
    view.folder = "  " + folder.path().string() + "/  ";
    view.name = " saida.txt";
    ExportaDados(view, data.sources(), '/');
    EXPECT_TRUE(fs::exists(folder / " saida.txt"));
    EXPECT_FALSE(fs::exists(target()));
}

TEST_F(ExportRunTest, DanglingLinkIsAnExistingFileForTheQuestion) {
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

// Another program creates the target while the run writes its lines.
class RacedView : public RecordingView {
public:
    std::string racedTarget;
    void stepProgress() override {
        RecordingView::stepProgress();
        if (steps == 2) {
            writeFile(racedTarget, "outro");
        }
    }
};

TEST_F(ExportRunTest, FileCreatedMeanwhileMeetsTheQuestionAtTheEnd) {
    const std::string question = "ask Arquivo encontrado | O arquivo informado já existe. Deseja "
                                 "substituí-lo por novos dados ? (warning)";
    const struct {
        const char* name;
        bool yes;
        bool exported;
        std::string content;
        std::vector<std::string> lastEvents;
    } cases[] = {
        {"recusa",
         false,
         false,
         "outro",
         {question, "focus edtArquivo",
          "inform Alerta | Altere o nome do Arquivo e tente exportar novamente (information)",
          "panel pnlBotoes"}},
        {"substitui",
         true,
         true,
         readFile(kGoldenDir + "/tres-emitidas-duas-recebidas.txt"),
         {question, "status Concluído.", "inform Exportação | Dados exportados com sucesso. (information)",
          "panel pnlBotoes"}},
    };
    for (const auto& c : cases) {
        fs::remove(target());
        RacedView raced;
        raced.folder = view.folder;
        raced.name = view.name;
        raced.racedTarget = target();
        raced.answerYes = c.yes;
        EXPECT_EQ(ExportaDados(raced, data.sources(), '/'), c.exported) << c.name;
        EXPECT_EQ(readFile(target()), c.content) << c.name;
        ASSERT_GE(raced.events.size(), c.lastEvents.size()) << c.name;
        EXPECT_EQ(std::vector<std::string>(raced.events.end() - static_cast<long>(c.lastEvents.size()),
                                           raced.events.end()),
                  c.lastEvents)
            << c.name;
        EXPECT_EQ(leftovers(), std::vector<std::string>{"saida.txt"}) << c.name;
    }
}

// ---- failures leave the old file and no temporary file behind

// Fails one system call the way a real disk or folder would.
class FailingCalls : public FileCalls {
public:
    enum class Step { Create, Write, Sync, Publish };
    FailingCalls(Step step, int error, std::size_t bytesBeforeFailure = 0)
        : m_step(step), m_error(error), m_budget(bytesBeforeFailure) {}

    int createUnnamed(int folder) override {
        return m_step == Step::Create ? failWith(-1) : FileCalls::createUnnamed(folder);
    }
    long write(int fd, const char* data, std::size_t size) override {
        if (m_step != Step::Write) {
            return FileCalls::write(fd, data, size);
        }
        if (m_budget == 0) {
            return failWith(-1);
        }
        const std::size_t allowed = std::min(size, m_budget);
        m_budget -= allowed;
        return FileCalls::write(fd, data, allowed);
    }
    int sync(int fd) override { return m_step == Step::Sync ? failWith(-1) : FileCalls::sync(fd); }
    int nameUnnamed(int fd, int folder, const std::string& name) override {
        return m_step == Step::Publish ? failWith(-1) : FileCalls::nameUnnamed(fd, folder, name);
    }
    int rename(int folder, const std::string& from, const std::string& to) override {
        return m_step == Step::Publish ? failWith(-1) : FileCalls::rename(folder, from, to);
    }

private:
    int failWith(int result) {
        errno = m_error;
        return result;
    }
    Step m_step;
    int m_error;
    std::size_t m_budget;
};

TEST_F(ExportRunTest, InjectedFaultsGiveTheirMessagesAndKeepTheOldFile) {
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

TEST_F(ExportRunTest, RealPathFaults) {
    fs::create_directory(folder.path() / "pasta.txt");
    const struct {
        const char* name;
        std::string folder;
        std::string file;
        const char* message;
    } cases[] = {
        {"pasta-inexistente", folder / "nao-existe", "saida.txt", "Invalid filename"},
        {"nome-e-uma-pasta", folder.path().string(), "pasta.txt", "File access denied"},
        {"arquivo-no-caminho", folder.path().string(), "saida.txt/x.txt", "Invalid filename"},
        {"nome-longo-demais", folder.path().string(), std::string(300, 'n'), "Invalid filename"},
    };
    writeFile(target(), "antigo");
    view.answerYes = true;
    for (const auto& c : cases) {
        view.folder = c.folder;
        view.name = c.file;
        EXPECT_EQ(failureOf(), c.message) << c.name;
    }
    EXPECT_EQ(readFile(target()), "antigo");
    EXPECT_EQ(leftovers().size(), 2u);
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

TEST_F(ExportRunTest, ReadOnlyFolderIsAccessDenied) {
    const ReadOnlyFolder locked(folder.path() / "travada");
    if (!locked.ready()) {
        GTEST_SKIP() << "this machine allows no read-only folder for root";
    }
    view.folder = folder / "travada";
    EXPECT_EQ(failureOf(), "File access denied");
}

// A real full disk: a tiny file system that the export outgrows.
TEST_F(ExportRunTest, RealFullDisk) {
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

// A row that cannot be read stops the run like a failed write.
class BrokenQuery : public MemoryQuery {
public:
    using MemoryQuery::MemoryQuery;
    void next() override {
        MemoryQuery::next();
        if (++m_moves == 2) {
            throw Error("Falha de leitura da tabela");
        }
    }

private:
    int m_moves = 0;
};

TEST_F(ExportRunTest, ReadFailureMidwayKeepsTheOldFile) {
    writeFile(target(), "antigo");
    BrokenQuery issued({invoice(3, "1", 1, 1), invoice(3, "1", 2, 1), invoice(3, "1", 3, 1)});
    std::string message;
    try {
        ExportaDados(view, {issued, data.received, data.clients}, '/');
    } catch (const Error& error) {
        message = error.what();
    }
    EXPECT_EQ(message, "Falha de leitura da tabela");
    EXPECT_EQ(view.steps, 2);
    EXPECT_EQ(readFile(target()), "antigo");
    EXPECT_EQ(leftovers(), std::vector<std::string>{"saida.txt"});
    EXPECT_EQ(view.events.back(), "panel pnlBotoes");
}

} // namespace
} // namespace kalvian
