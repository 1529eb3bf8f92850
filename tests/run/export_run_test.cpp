#include "common/error.h"
#include "export_run_fixture.h"
#include "run/export_run.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::ExportRunTest;
using test::invoice;
using test::kGoldenDir;
using test::readFile;
using test::RecordingView;
using test::writeFile;

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

TEST_F(ExportRunTest, MissingFolderOrNameOrANameWindowsCannotHoldFocusesItsField) {
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
        {"dispositivo", "/tmp", "nul.txt",
         "O nome \"nul.txt\" é reservado pelo Windows para um dispositivo e não pode ser nome de arquivo",
         "focus edtArquivo"},
        {"ponto-final", "/tmp", "VRK3.txt.",
         "O nome \"VRK3.txt.\" termina em ponto ou espaço, que o Windows tira do nome ao gravar o arquivo",
         "focus edtArquivo"},
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
        {"arquivo-no-caminho", folder / "saida.txt", "x.txt", "Invalid filename"},
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

// A row that cannot be read stops the run like a failed write: moving onto row `broken` fails, in every
// cursor over the rows.
class BrokenQuery : public MemoryQuery {
public:
    BrokenQuery(std::vector<MemoryRecord> rows, std::size_t broken)
        : MemoryQuery(std::move(rows)), m_broken(broken) {}
    void first() override {
        MemoryQuery::first();
        m_position = 0;
    }
    void next() override {
        MemoryQuery::next();
        if (++m_position == m_broken) {
            throw Error("Falha de leitura da tabela");
        }
    }
    std::unique_ptr<InvoiceQuery> anotherCursor() const override {
        return std::make_unique<BrokenQuery>(*this);
    }

private:
    std::size_t m_broken;
    std::size_t m_position = 0;
};

TEST_F(ExportRunTest, ReadFailureMidwayKeepsTheOldFile) {
    // A few rows are built here; many on two threads, the failing row in a chunk of either.
    for (const auto& [rows, broken] :
         {std::pair<std::size_t, std::size_t>{3, 2}, {9000, 4500}, {9000, 4700}}) {
        writeFile(target(), "antigo");
        view.steps = 0;
        BrokenQuery issued(std::vector<MemoryRecord>(rows, invoice(3, "1", 1, 1)), broken);
        std::string message;
        try {
            ExportaDados(view, {issued, data.received, data.clients}, '/');
        } catch (const Error& error) {
            message = error.what();
        }
        EXPECT_EQ(message, "Falha de leitura da tabela") << broken;
        // Every line before the failing row was built and counted.
        EXPECT_EQ(view.steps, static_cast<int>(broken)) << broken;
        EXPECT_EQ(readFile(target()), "antigo") << broken;
        EXPECT_EQ(leftovers(), std::vector<std::string>{"saida.txt"}) << broken;
        EXPECT_EQ(view.events.back(), "panel pnlBotoes") << broken;
    }
}

} // namespace
} // namespace kalvian
