// The query step driven through the window: its checks in order, their messages and focus, and what a
// successful step shows.
#include "app/window_fixture.h"
#include "support/open_files.h"

#include <QApplication>
#include <QFrame>

#include <limits>

namespace kalvian::test {
namespace {

namespace fs = std::filesystem;

TEST_F(WindowTest, CutOffComesBeforeTheOrderCheck) {
    goldenTables().write(source.path());
    const struct {
        const char* name;
        const char* start;
        const char* end;
        std::vector<std::string> shown;
    } cases[] = {
        {"dia-do-corte", "01122008", "15122008", {}},
        {"dia-seguinte",
         "01122008",
         "16122008",
         {"error Notas emitidas após o dia 15/12 devem ser lançadas na versão 4.0"}},
        {"inicio-ainda-depois",
         "20122008",
         "16122008",
         {"error Notas emitidas após o dia 15/12 devem ser lançadas na versão 4.0"}},
    };
    for (const auto& c : cases) {
        openWindow();
        query(QStringLiteral("123"), QString::fromLatin1(c.start), QString::fromLatin1(c.end), source.path());
        EXPECT_EQ(messages->shown, c.shown) << c.name;
        EXPECT_EQ(action("actExportar")->isEnabled(), c.shown.empty()) << c.name;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << c.name;
    }
}

TEST_F(WindowTest, EndBeforeStartFocusesTheStartDate) {
    goldenTables().write(source.path());
    query(QStringLiteral("123"), QStringLiteral("10012008"), QStringLiteral("05012008"), source.path());
    EXPECT_EQ(messages->shown,
              std::vector<std::string>{"error A Data Final deve ser maior ou igual a Data Inicial"});
    EXPECT_EQ(focused(), QStringLiteral("edtDataIni"));
    EXPECT_FALSE(action("actExportar")->isEnabled());
    EXPECT_TRUE(action("actConsulta")->isVisible());
    EXPECT_TRUE(edit("edtInscricao")->isEnabled());
}

TEST_F(WindowTest, StartOfOnlyZerosIsTheBlankDateAndPassesTheOrderCheck) {
    goldenTables().write(source.path());
    query(QStringLiteral("123"), QStringLiteral("00000000"), QStringLiteral("05032008"), source.path());
    EXPECT_EQ(date("edtDataIni")->DateValue(), kBlankDate);
    EXPECT_EQ(messages->shown, std::vector<std::string>{});
    EXPECT_EQ(text("lblEmitidas"), QStringLiteral("3"));
}

TEST_F(WindowTest, EachMissingTableIsNamedAndFocusesTheSourceFolder) {
    const struct {
        const char* removed;
        const char* message;
    } cases[] = {
        {"DSEMI.DB", "error Arquivo de Notas Emitidas não foi encontrado.\n(DSEMI.DB)"},
        {"DSREC.DB", "error Arquivo de Notas Recebidas não foi encontrado.\n(DSREC.DB)"},
        {"DSCLI.DB", "error Arquivo de Clientes não foi encontrado.\n(DSCLI.DB)"},
    };
    for (const auto& c : cases) {
        openWindow();
        TempFolder folder;
        goldenTables().write(folder.path());
        fs::remove(folder.path() / c.removed);
        query(QStringLiteral("123"), QStringLiteral("01032008"), QStringLiteral("31032008"), folder.path());
        EXPECT_EQ(messages->shown, std::vector<std::string>{c.message}) << c.removed;
        EXPECT_EQ(focused(), QStringLiteral("edtOrigem")) << c.removed;
        EXPECT_FALSE(control<QFrame>("sbNotasLocalizadas")->isVisible()) << c.removed;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << c.removed;
    }
}

TEST_F(WindowTest, DamagedTableShowsTheDatabaseMessageAndRestoresTheCursor) {
    goldenTables().write(source.path());
    writeFile(source.path() / "DSREC.DB", "not a table");
    bool waitingUnderTheBox = true;
    messages->whileShown = [&] { waitingUnderTheBox = QApplication::overrideCursor() != nullptr; };
    query(QStringLiteral("123"), QStringLiteral("01032008"), QStringLiteral("31032008"), source.path());
    ASSERT_EQ(messages->shown.size(), 1U);
    EXPECT_EQ(messages->shown[0].rfind("error ", 0), 0U) << messages->shown[0];
    EXPECT_FALSE(waitingUnderTheBox);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(action("actExportar")->isEnabled());

    // The next step over good tables closes what the failed one left open and finds the rows.
    goldenTables().write(source.path());
    click("btnConsulta");
    EXPECT_EQ(messages->shown.size(), 1U);
    EXPECT_EQ(text("lblRecebidas"), QStringLiteral("2"));
}

TEST_F(WindowTest, LockFilesAreAskedAboutFirstAndNoLeavesNoQueryOpen) {
    goldenTables().write(source.path());
    const fs::path received = source.path() / "DSREC.DB";
    const std::string good = readFile(received);
    writeFile(received, "not a table");
    writeFile(source.path() / "PDOXUSRS.LCK", std::string("\x02\x00\x01", 3));
    const std::string question =
        "ask VRK 3 aberta | A VRK 3 parece estar aberta com estas tabelas (PDOXUSRS.LCK nesta pasta).\n"
        "Notas digitadas nela podem ainda não estar nos arquivos até que ela seja fechada.\n"
        "Arquivos deixados por uma VRK 3 que não foi fechada corretamente têm a mesma aparência.\n\n"
        "Deseja consultar os dados mesmo assim ? (warning)";
    const fs::path tables[] = {source.path() / "DSEMI.DB", received, source.path() / "DSCLI.DB"};

    // Yes, over a damaged table: the step fails, and leaves the queries opened before the failure open.
    messages->answers = {true};
    query(QStringLiteral("123"), QStringLiteral("01032008"), QStringLiteral("31032008"), source.path());
    ASSERT_EQ(messages->shown.size(), 2U);
    EXPECT_EQ(messages->shown[0], question);
    EXPECT_TRUE(heldOpen(tables[0]));

    // No, once the table is mended: nothing is read, and nothing stays open.
    writeFile(received, good);
    messages->shown.clear();
    click("btnConsulta");
    EXPECT_EQ(messages->shown, std::vector<std::string>{question});
    EXPECT_EQ(focused(), QStringLiteral("edtOrigem"));
    for (const fs::path& table : tables) {
        EXPECT_FALSE(heldOpen(table)) << table;
    }
    EXPECT_FALSE(control<QFrame>("sbNotasLocalizadas")->isVisible());
    EXPECT_FALSE(action("actExportar")->isEnabled());
    EXPECT_TRUE(edit("edtOrigem")->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Yes: the step and an export go on as without lock files, and leave the folder as it was.
    const std::vector<std::string> before = folderState(source.path());
    messages->shown.clear();
    messages->answers = {true};
    click("btnConsulta");
    EXPECT_EQ(text("lblEmitidas"), QStringLiteral("3"));
    edit("edtDestino")->setText(QString::fromStdString(destination.path().string()));
    click("btnExportar");
    EXPECT_EQ(messages->shown,
              (std::vector<std::string>{question,
                                        "inform Exportação | Dados exportados com sucesso. (information)"}));
    EXPECT_EQ(folderState(source.path()), before);
}

TEST_F(WindowTest, SuccessfulStepShowsCountsFreezesInputAndProposesAName) {
    queryGoldenTables();
    EXPECT_EQ(text("lblEmitidas"), QStringLiteral("3"));
    EXPECT_EQ(text("lblRecebidas"), QStringLiteral("2"));
    EXPECT_EQ(text("lblTotal"), QStringLiteral("5"));
    EXPECT_TRUE(control<QFrame>("sbNotasLocalizadas")->isVisible());
    for (const char* input : {"edtInscricao", "edtDataIni", "edtDataFin", "edtOrigem"}) {
        EXPECT_FALSE(control<QWidget>(input)->isEnabled()) << input;
    }
    for (const char* usable : {"edtDestino", "edtArquivo"}) {
        EXPECT_TRUE(control<QWidget>(usable)->isEnabled()) << usable;
    }
    EXPECT_TRUE(action("actExportar")->isEnabled());
    EXPECT_TRUE(action("actPastaOrigem")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("btnConsulta")->isVisible());
    EXPECT_TRUE(control<QPushButton>("btnNovaConsulta")->isVisible());
    EXPECT_EQ(edit("edtArquivo")->text(), QStringLiteral("VRK3_123__01_03_2008__31_03_2008.txt"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WindowTest, CountsAreGroupedByThreesAndZeroIsABlank) {
    const struct {
        const char* name;
        int issued;
        int received;
        QString counts[3];
    } cases[] = {
        {"milhares", 1000, 234, {"1.000", "234", "1.234"}},
        {"nenhuma", 0, 0, {" ", " ", " "}},
        {"so-recebidas", 0, 7, {" ", "7", "7"}},
    };
    for (const auto& c : cases) {
        openWindow();
        TempFolder folder;
        paradox::Vrk3Tables tables = goldenTables();
        tables.issued.assign(c.issued, tables.issued.front());
        tables.received.assign(c.received, tables.received.front());
        tables.write(folder.path());
        query(QStringLiteral("123"), QStringLiteral("01032008"), QStringLiteral("31032008"), folder.path());
        EXPECT_EQ(text("lblEmitidas"), c.counts[0]) << c.name;
        EXPECT_EQ(text("lblRecebidas"), c.counts[1]) << c.name;
        EXPECT_EQ(text("lblTotal"), c.counts[2]) << c.name;
        EXPECT_TRUE(action("actExportar")->isEnabled()) << c.name;
    }
}

TEST_F(WindowTest, NewQueryReturnsToInputAndKeepsTheOldCountsHidden) {
    queryGoldenTables();
    click("btnNovaConsulta");
    EXPECT_EQ(messages->shown, std::vector<std::string>{});
    EXPECT_FALSE(control<QFrame>("sbNotasLocalizadas")->isVisible());
    EXPECT_EQ(text("lblEmitidas"), QStringLiteral("3"));
    EXPECT_EQ(text("lblTotal"), QStringLiteral("5"));
    EXPECT_FALSE(action("actExportar")->isEnabled());
    EXPECT_EQ(edit("edtArquivo")->text(), QString());
    EXPECT_EQ(edit("edtInscricao")->text(), QStringLiteral("123"));
    EXPECT_EQ(date("edtDataFin")->DateValue(), toSerial({2008, 3, 31}));
    EXPECT_EQ(focused(), QStringLiteral("edtInscricao"));
    EXPECT_TRUE(control<QPushButton>("btnConsulta")->isVisible());
    EXPECT_FALSE(control<QPushButton>("btnNovaConsulta")->isVisible());
    EXPECT_TRUE(action("actConsulta")->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Another registration number in the same folder: the closed queries open afresh.
    edit("edtInscricao")->setText(QStringLiteral("999"));
    click("btnConsulta");
    EXPECT_EQ(text("lblEmitidas"), QStringLiteral(" "));
    EXPECT_EQ(edit("edtArquivo")->text(), QStringLiteral("VRK3_999__01_03_2008__31_03_2008.txt"));
}

TEST_F(WindowTest, InvoicesWithoutAUsableRegistrationMatchNothingTyped) {
    // Issued invoices whose INSMUN is NULL, NaN or infinite, and one of registration 0.
    paradox::Vrk3Tables tables = goldenTables();
    tables.issued.resize(5, tables.issued.front());
    tables.issued[0].insmun = paradox::WriterValue{};
    tables.issued[1].insmun = std::numeric_limits<double>::quiet_NaN();
    tables.issued[2].insmun = -std::numeric_limits<double>::quiet_NaN();
    tables.issued[3].insmun = std::numeric_limits<double>::infinity();
    tables.issued[4].insmun = 0.0;
    tables.write(source.path());
    const struct {
        const char* typed;
        const char* issued;
    } cases[] = {{"nan", " "},   {"NaN", " "}, {"-nan", " "}, {"inf", " "},
                 {"1e999", " "}, {"0", "1"},   {"-0", "1"}};
    for (const auto& c : cases) {
        openWindow();
        query(QString::fromLatin1(c.typed), QStringLiteral("01032008"), QStringLiteral("31032008"),
              source.path());
        EXPECT_EQ(messages->shown, std::vector<std::string>{}) << c.typed;
        EXPECT_EQ(text("lblEmitidas"), QString::fromLatin1(c.issued)) << c.typed;
    }
}

} // namespace
} // namespace kalvian::test
