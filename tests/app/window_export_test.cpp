// "Exportar" from the window: the file on disk, the replace prompt, the panels and a close asked for while
// the run goes on.
#include "app/window_export_fixture.h"

#include <QFrame>
#include <QProgressBar>
#include <QTest>

namespace kalvian::test {
namespace {

TEST_F(WindowExportTest, WritesTheGoldenFileFromTheTablesOnDisk) {
    click("btnExportar");
    EXPECT_EQ(readFile(target()), readFile(kGolden));
    EXPECT_EQ(messages->shown,
              std::vector<std::string>{"inform Exportação | Dados exportados com sucesso. (information)"});
    EXPECT_TRUE(control<QFrame>("pnlBotoes")->isVisible());
    EXPECT_FALSE(control<QFrame>("pnlExportando")->isVisible());
    EXPECT_EQ(text("lblStatus"), QStringLiteral("Concluído."));
    EXPECT_EQ(control<QProgressBar>("progBar")->value(), 5);
    EXPECT_EQ(control<QProgressBar>("progBar")->maximum(), 5);
}

TEST_F(WindowExportTest, ReplacePromptAnsweredYesAndNo) {
    const struct {
        bool yes;
        std::string content;
        std::vector<std::string> shown;
    } cases[] = {
        {true,
         readFile(kGolden),
         {"ask Arquivo encontrado | O arquivo informado já existe. Deseja substituí-lo por novos dados ? "
          "(warning)",
          "inform Exportação | Dados exportados com sucesso. (information)"}},
        {false,
         "antigo",
         {"ask Arquivo encontrado | O arquivo informado já existe. Deseja substituí-lo por novos dados ? "
          "(warning)",
          "inform Alerta | Altere o nome do Arquivo e tente exportar novamente (information)"}},
    };
    for (const auto& c : cases) {
        writeFile(target(), "antigo");
        messages->shown.clear();
        messages->answers = {c.yes};
        click("btnExportar");
        EXPECT_EQ(readFile(target()), c.content) << c.yes;
        EXPECT_EQ(messages->shown, c.shown) << c.yes;
    }
    EXPECT_EQ(focused(), QStringLiteral("edtArquivo"));
}

TEST_F(WindowExportTest, MissingOrUnusableDestinationShowsTheErrorBoxAndFocusesTheField) {
    const struct {
        const char* field;
        const char* text;
        const char* message;
    } cases[] = {
        {"edtDestino", "   ", "error Selecione a pasta onde o arquivo deverá ser gravado"},
        {"edtArquivo", "   ", "error Informe um nome para o arquivo exportado"},
        {"edtArquivo", "lpt1",
         "error O nome \"lpt1\" é reservado pelo Windows para um dispositivo e não pode ser nome de arquivo"},
    };
    for (const auto& c : cases) {
        edit("edtDestino")->setText(QString::fromStdString(destination.path().string()));
        edit("edtArquivo")->setText(QStringLiteral("saida.txt"));
        edit(c.field)->setText(QString::fromLatin1(c.text));
        messages->shown.clear();
        click("btnExportar");
        EXPECT_EQ(messages->shown, std::vector<std::string>{c.message}) << c.field;
        EXPECT_EQ(focused(), QString::fromLatin1(c.field));
    }
    EXPECT_TRUE(std::filesystem::is_empty(destination.path()));
}

// The window shows the system's error texts alone; where and why is for the command line.
TEST_F(WindowExportTest, OutputFailuresKeepTheWindowsTexts) {
    writeFile(destination / "arquivo", "");
    std::filesystem::create_directory(destination / "pasta.txt");
    const struct {
        const char* name;
        std::string folder;
        QString file;
        const char* message;
    } cases[] = {
        {"pasta-inexistente", destination / "nao/existe", QStringLiteral("saida.txt"),
         "error Invalid filename"},
        {"nome-longo-demais", destination.path().string(), QString(300, QLatin1Char('n')),
         "error Invalid filename"},
        {"arquivo-no-caminho", destination / "arquivo", QStringLiteral("saida.txt"),
         "error Invalid filename"},
        {"nome-e-uma-pasta", destination.path().string(), QStringLiteral("pasta.txt"),
         "error File access denied"},
    };
    for (const auto& c : cases) {
        edit("edtDestino")->setText(QString::fromStdString(c.folder));
        edit("edtArquivo")->setText(c.file);
        messages->shown.clear();
        click("btnExportar");
        EXPECT_EQ(messages->shown, std::vector<std::string>{c.message}) << c.name;
    }
}

TEST_F(WindowExportTest, ProposedNameOfAnyRegistrationStaysInTheDestinationFolder) {
    click("btnNovaConsulta");
    query(QStringLiteral("1/../../esc"), QStringLiteral("01032008"), QStringLiteral("31032008"),
          source.path());
    EXPECT_EQ(edit("edtArquivo")->text(), QStringLiteral("VRK3_1_.._.._esc__01_03_2008__31_03_2008.txt"));
    // With a folder of the name's first part there, the name read as a path would climb to "a".
    const std::filesystem::path inside = destination.path() / "a" / "b";
    std::filesystem::create_directories(inside / "VRK3_1");
    edit("edtDestino")->setText(QString::fromStdString(inside.string()));
    messages->shown.clear();
    click("btnExportar");
    EXPECT_EQ(messages->shown,
              std::vector<std::string>{"inform Exportação | Dados exportados com sucesso. (information)"});
    EXPECT_TRUE(std::filesystem::exists(inside / "VRK3_1_.._.._esc__01_03_2008__31_03_2008.txt"));
    EXPECT_FALSE(std::filesystem::exists(destination.path() / "a" / "esc__01_03_2008__31_03_2008.txt"));
}

TEST_F(WindowExportTest, StatusPanelShowsWhileTheRunGoesOn) {
    bool exportingPanel = false;
    messages->whileShown = [&] { exportingPanel = control<QFrame>("pnlExportando")->isVisible(); };
    click("btnExportar");
    // The success box comes while the run still holds the status panel.
    EXPECT_TRUE(exportingPanel);
    EXPECT_FALSE(control<QFrame>("pnlExportando")->isVisible());
}

TEST_F(WindowExportTest, CloseAskedForDuringTheRunWaitsForItsEnd) {
    bool visibleAfterClose = false;
    messages->whileShown = [&] {
        window->close();
        visibleAfterClose = window->isVisible();
    };
    click("btnExportar");
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_EQ(readFile(target()), readFile(kGolden));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowExportTest, AltXExportsAndTheResultStaysForAnotherExport) {
    QTest::keyClick(edit("edtArquivo"), Qt::Key_X, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages->shown.empty(); }));
    EXPECT_EQ(readFile(target()), readFile(kGolden));
    EXPECT_TRUE(action("actExportar")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("btnNovaConsulta")->isVisible());
}

} // namespace
} // namespace kalvian::test
