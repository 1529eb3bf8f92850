#include "common/date_serial.h"
#include "common/error.h"
#include "recording_host.h"
#include "run/query_step.h"
#include "support/temp_folder.h"
#include "vrk3/registration.h"
#include "vrk3/source_queries.h"
#include "vrk3/table_files.h"
#include "vrk3_rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numeric>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using paradox::ClientRow;
using paradox::IssuedRow;
using paradox::ReceivedRow;
using paradox::Vrk3Tables;
using paradox::WriterValue;
using test::client;
using test::day;
using test::issued;
using test::received;
using test::RecordingHost;

std::vector<std::int32_t> numbersOf(InvoiceQuery& query) {
    std::vector<std::int32_t> numbers;
    for (query.first(); !query.eof(); query.next()) {
        numbers.push_back(query.current().asInteger("NUMNF"));
    }
    return numbers;
}

template <class F> std::string failureOf(F&& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

class SourceQueriesTest : public ::testing::Test {
protected:
    void write() { tables.write(folder.path()); }
    bool open(std::string_view registration, double start, double end) {
        return queries.AbreConsultas(registration, {{start}, {end}}, folder.path().string(), host);
    }

    test::TempFolder folder;
    Vrk3Tables tables;
    SourceQueries queries;
    RecordingHost host;
};

// ---- selection

TEST_F(SourceQueriesTest, SelectsTheDeclarantsInvoicesOfThePeriodInTableOrder) {
    tables.issued = {issued(123, day(10), 1),       issued(456, day(10), 2),    issued(123, day(1), 3),
                     issued(123, day(31), 4),       issued(123, day(29, 2), 5), issued(123, day(1, 4), 6),
                     issued(123, WriterValue{}, 7), issued(123, day(15), 8)};
    tables.received = {received(123, day(5), 10), received(123, day(5, 5), 11), received(789, day(5), 12)};
    write();
    EXPECT_TRUE(open("123", day(1), day(31)));
    EXPECT_EQ(numbersOf(queries.emitida()), (std::vector<std::int32_t>{1, 3, 4, 8}));
    EXPECT_EQ(numbersOf(queries.recebida()), (std::vector<std::int32_t>{10}));
    EXPECT_EQ(queries.emitida().rowCount(), 4);
    EXPECT_EQ(queries.recebida().rowCount(), 1);
    EXPECT_EQ(host.events, (std::vector<std::string>{"cursor sql", "cursor default"}));
}

TEST_F(SourceQueriesTest, PeriodBoundaries) {
    tables.issued = {issued(1, day(9), 1), issued(1, day(10), 2), issued(1, day(11), 3),
                     issued(1, day(12), 4)};
    write();
    const struct {
        const char* name;
        double start;
        double end;
        std::vector<std::int32_t> numbers;
    } cases[] = {
        {"um-dia", day(10), day(10), {2}},
        {"fim-incluido", day(9), day(11), {1, 2, 3}},
        {"inicio-incluido", day(11), day(30), {3, 4}},
        {"sem-notas", day(13), day(20), {}},
        {"inicio-em-branco", kBlankDate, day(10), {1, 2}},
    };
    for (const auto& c : cases) {
        queries.FechaConsultas();
        open("1", c.start, c.end);
        EXPECT_EQ(numbersOf(queries.emitida()), c.numbers) << c.name;
    }
}

TEST_F(SourceQueriesTest, ChainOrderEvenWhenBlocksAreStoredShuffled) {
    for (std::int32_t n = 1; n <= 400; ++n) {
        tables.issued.push_back(issued(7, day(1 + n % 28), n));
    }
    tables.placement = {true, 42, 3};
    write();
    open("7", day(1), day(31));
    std::vector<std::int32_t> expected(400);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(numbersOf(queries.emitida()), expected);
}

TEST_F(SourceQueriesTest, RegistrationThatIsNoNumberSelectsNothing) {
    tables.issued = {issued(-1, day(10), 1), issued(0, day(10), 2), issued(123, day(10), 3)};
    write();
    const struct {
        const char* registration;
        std::vector<std::int32_t> numbers;
    } cases[] = {
        {"abc", {}},
        {"", {}},
        {"  ", {}},
        {"-1", {1}},
        {" 123 ", {3}},
        {"1.23e2", {3}},
        {"0", {2}},
        {"-0", {2}},
        {"\t123", {}},
        {"123\n", {}},
        {"\xA0"
         "123",
         {}},
    };
    for (const auto& c : cases) {
        queries.FechaConsultas();
        EXPECT_TRUE(open(c.registration, day(1), day(31))) << c.registration;
        EXPECT_EQ(numbersOf(queries.emitida()), c.numbers) << "'" << c.registration << "'";
    }
}

TEST(RegistrationNumber, PlainDecimalNumbersOnly) {
    const struct {
        const char* text;
        std::optional<double> number;
    } cases[] = {
        {"123", 123.0},
        {" 123 ", 123.0},
        {"\t42\n", {}},
        {"\t42", {}},
        {"42\r", {}},
        {"+7", 7.0},
        {"-7", -7.0},
        {"1.5", 1.5},
        {".5", 0.5},
        {"5.", 5.0},
        {"1e3", 1000.0},
        {"1E-2", 0.01},
        {"12345678901", 12345678901.0},
        {"", {}},
        {"   ", {}},
        {"abc", {}},
        {"12 3", {}},
        {"1,5", {}},
        {"0x10", {}},
        {"1e", {}},
        {"e5", {}},
        {".", {}},
        {"+-1", {}},
        {"1e999", {}},
        {"inf", {}},
        {"nan", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(registrationNumber(c.text), c.number) << "'" << c.text << "'";
    }
}

// ---- clients

TEST_F(SourceQueriesTest, ClientLookupTakesTheFirstOfARepeatedCode) {
    tables.clients = {client(9, "Nove"), client(5, "Primeiro cinco"), client(3, "Tres"),
                      client(5, "Segundo cinco")};
    ClientRow noCode = client(0, "Sem codigo");
    noCode.codcli = WriterValue{};
    tables.clients.push_back(noCode);
    write();
    open("1", day(1), day(31));
    ClientTableQuery& clients = queries.cliente();
    ASSERT_TRUE(clients.LocalizaCliente(5));
    EXPECT_EQ(clients.current().asText("NOME"), "Primeiro cinco");
    EXPECT_EQ(clients.current().asText("INSMUN"), "12345678901");
    EXPECT_EQ(clients.current().asText("CEP"), "");
    ASSERT_TRUE(clients.LocalizaCliente(3));
    EXPECT_EQ(clients.current().asText("NOME"), "Tres");
    EXPECT_FALSE(clients.LocalizaCliente(4));
    EXPECT_FALSE(clients.LocalizaCliente(0));
    EXPECT_EQ(clients.find(9)->asText("NOME"), "Nove");
    EXPECT_EQ(clients.find(10), nullptr);
}

TEST_F(SourceQueriesTest, PortugueseTextFromCodePage850ReadsAsWindows1252) {
    tables.clients = {client(1, "Jo\xE3o Concei\xE7\xE3o")};
    write();
    open("1", day(1), day(31));
    ASSERT_TRUE(queries.cliente().LocalizaCliente(1));
    EXPECT_EQ(queries.cliente().current().asText("NOME"), "Jo\xE3o Concei\xE7\xE3o");
}

// ---- the folder

TEST_F(SourceQueriesTest, TableFilesAreFoundWhateverTheirLetterCase) {
    write();
    fs::rename(folder.path() / "DSEMI.DB", folder.path() / "dsemi.db");
    fs::rename(folder.path() / "DSREC.DB", folder.path() / "DSREC.db");
    for (const std::string& typed :
         {folder.path().string(), folder.path().string() + "/", " " + folder.path().string() + "/ "}) {
        EXPECT_NO_THROW(checkSourceFiles(typed, host)) << typed;
        // The file as stored; where names ignore letter case (Windows), the name as asked reaches it too.
        const std::optional<std::string> found = findTableFile(typed, "DSEMI.DB");
        ASSERT_TRUE(found) << typed;
        EXPECT_TRUE(fs::equivalent(*found, folder.path() / "dsemi.db")) << *found;
    }
    EXPECT_TRUE(queries.AbreConsultas("1", {{day(1)}, {day(31)}}, folder.path().string() + "/", host));
}

TEST_F(SourceQueriesTest, MissingTablesAreNamedInOrder) {
    const struct {
        const char* name;
        std::vector<const char*> present;
        const char* message;
    } cases[] = {
        {"sem-emitidas",
         {"DSREC.DB", "DSCLI.DB"},
         "Arquivo de Notas Emitidas não foi encontrado.\n(DSEMI.DB)"},
        {"nenhuma", {}, "Arquivo de Notas Emitidas não foi encontrado.\n(DSEMI.DB)"},
        {"sem-recebidas",
         {"DSEMI.DB", "DSCLI.DB"},
         "Arquivo de Notas Recebidas não foi encontrado.\n(DSREC.DB)"},
        {"sem-clientes", {"DSEMI.DB", "DSREC.DB"}, "Arquivo de Clientes não foi encontrado.\n(DSCLI.DB)"},
    };
    for (const auto& c : cases) {
        test::TempFolder other;
        for (const char* file : c.present) {
            test::writeFile(other.path() / file, "x");
        }
        fs::create_directory(other.path() / "dscli.db.d");
        host.events.clear();
        EXPECT_EQ(failureOf([&] { checkSourceFiles(other.path().string(), host); }), c.message) << c.name;
        EXPECT_EQ(host.events, std::vector<std::string>{"focus edtOrigem"}) << c.name;
    }
}

// ---- the schema

TEST_F(SourceQueriesTest, SchemaCheck) {
    using paradox::FieldType;
    const struct {
        const char* name;
        const char* field;
        FieldType type;
        int size;
        const char* message;
    } cases[] = {
        {"campo-ausente", "ALQRET", FieldType::Alpha, 0, "qryEmitida: Field 'ALQRET' not found"},
        {"inteiro-como-texto", "NUMNF", FieldType::Alpha, 8,
         "qryEmitida: Type mismatch for field 'NUMNF', expecting: Integer actual: String"},
        {"numero-como-inteiro", "VALNF", FieldType::Long, 0,
         "qryEmitida: Type mismatch for field 'VALNF', expecting: Float actual: Integer"},
        {"data-como-numero", "DATA", FieldType::Number, 0,
         "qryEmitida: Type mismatch for field 'DATA', expecting: Date actual: Float"},
        {"texto-como-logico", "MODU", FieldType::Logical, 0,
         "qryEmitida: Type mismatch for field 'MODU', expecting: String actual: Boolean"},
        {"numero-como-bytes", "ALIQUO", FieldType::Bytes, 4,
         "qryEmitida: Type mismatch for field 'ALIQUO', expecting: Float actual: Bytes"},
        {"hora-serve-como-data", "DATA", FieldType::Time, 0, "no error"},
        {"inteiro-curto-serve", "NUMNF", FieldType::Short, 0, "no error"},
        {"autoinc-serve", "CODCLI", FieldType::AutoInc, 0, "no error"},
        {"moeda-serve", "VALNF", FieldType::Currency, 0, "no error"},
        {"timestamp-serve", "DATA", FieldType::Timestamp, 0, "no error"},
        {"texto-de-outra-largura-serve", "SERIE", FieldType::Alpha, 5, "no error"},
    };
    write();
    for (const auto& c : cases) {
        paradox::TableLayout layout = paradox::issuedLayout();
        for (auto it = layout.fields.begin(); it != layout.fields.end(); ++it) {
            if (it->name == c.field) {
                if (std::string(c.message).find("not found") != std::string::npos) {
                    layout.fields.erase(it);
                } else {
                    *it = {c.field, c.type, c.size};
                }
                break;
            }
        }
        layout.fields.push_back({"EXTRA", FieldType::Alpha, 10});
        paradox::TableWriter(layout).writeFile(folder.path() / "DSEMI.DB");
        queries.FechaConsultas();
        EXPECT_EQ(failureOf([&] { open("1", day(1), day(31)); }), c.message) << c.name;
    }
}

// ---- opening order, failures and closing

TEST_F(SourceQueriesTest, ClientQueryOpensFirstAndOpenedQueriesStayOpenAfterAFailure) {
    write();
    test::writeFile(folder.path() / "DSREC.DB", "not a table");
    EXPECT_NE(failureOf([&] { open("1", day(1), day(31)); }), "no error");
    EXPECT_TRUE(queries.cliente().isOpen());
    EXPECT_TRUE(queries.emitida().isOpen());
    EXPECT_FALSE(queries.recebida().isOpen());
    EXPECT_EQ(host.events, (std::vector<std::string>{"cursor sql", "cursor default"}));

    // The tables are read side by side, yet the first table's fault is the one told.
    write();
    queries.FechaConsultas();
    test::writeFile(folder.path() / "DSCLI.DB", "");
    test::writeFile(folder.path() / "DSEMI.DB", "not a table");
    EXPECT_NE(failureOf([&] { open("1", day(1), day(31)); }).find("DSCLI"), std::string::npos);
    EXPECT_FALSE(queries.cliente().isOpen());
    EXPECT_FALSE(queries.emitida().isOpen());
    EXPECT_FALSE(queries.recebida().isOpen());
}

TEST_F(SourceQueriesTest, OpenQueryRefusesAnotherFolderAndKeepsItsRows) {
    tables.issued = {issued(1, day(10), 1), issued(2, day(10), 2)};
    write();
    open("1", day(1), day(31));
    // Opened again with other parameters and the same folder: nothing changes.
    open("2", day(1), day(31));
    EXPECT_EQ(numbersOf(queries.emitida()), std::vector<std::int32_t>{1});
    EXPECT_EQ(failureOf([&] {
                  queries.AbreConsultas("2", {{day(1)}, {day(31)}}, "/outra/pasta", host);
              }),
              "qryCliente: Cannot perform this operation on an open dataset");
    queries.FechaConsultas();
    queries.FechaConsultas();
    EXPECT_FALSE(queries.emitida().isOpen());
    EXPECT_EQ(failureOf([&] { queries.emitida().first(); }),
              "qryEmitida: Cannot perform this operation on a closed dataset");
    open("2", day(1), day(31));
    EXPECT_EQ(numbersOf(queries.emitida()), std::vector<std::int32_t>{2});
}

TEST_F(SourceQueriesTest, ReopenedQueryReadsTheNewLayoutOfItsTable) {
    tables.issued = {issued(1, day(10), 11)};
    tables.clients = {client(7, "Antigo")};
    write();
    open("1", day(1), day(31));
    EXPECT_EQ(numbersOf(queries.emitida()), std::vector<std::int32_t>{11});
    ASSERT_TRUE(queries.cliente().LocalizaCliente(7));
    EXPECT_EQ(queries.cliente().current().asText("NOME"), "Antigo");
    queries.FechaConsultas();

    // The same tables rewritten with another column in front: every field moves.
    const auto rewrite = [&](paradox::TableLayout layout, std::vector<WriterValue> row, const char* file) {
        layout.fields.insert(layout.fields.begin(), {"OBS", paradox::FieldType::Alpha, 30});
        row.insert(row.begin(), std::string("observação"));
        paradox::TableWriter writer(layout);
        writer.addRow(row);
        writer.writeFile(folder.path() / file);
    };
    rewrite(paradox::issuedLayout(), paradox::values(issued(1, day(12), 22)), "DSEMI.DB");
    rewrite(paradox::clientLayout(), paradox::values(client(7, "Novo")), "DSCLI.DB");
    open("1", day(1), day(31));
    EXPECT_EQ(numbersOf(queries.emitida()), std::vector<std::int32_t>{22});
    ASSERT_TRUE(queries.cliente().LocalizaCliente(7));
    EXPECT_EQ(queries.cliente().current().asText("NOME"), "Novo");
}

// ---- the query step

TEST_F(SourceQueriesTest, QueryStepChecksInOrder) {
    write();
    const std::string path = folder.path().string();
    const struct {
        const char* name;
        double start;
        double end;
        std::string folder;
        const char* message;
        std::vector<std::string> events;
    } cases[] = {
        {"corte-antes-da-ordem",
         day(20, 12),
         day(16, 12),
         "/nao/existe",
         "Notas emitidas após o dia 15/12 devem ser lançadas na versão 4.0",
         {}},
        {"dia-do-corte-passa",
         day(1, 12),
         day(15, 12),
         path,
         "no error",
         {"disable actExportar", "cursor sql", "cursor default"}},
        {"ordem",
         day(10, 1),
         day(5, 1),
         path,
         "A Data Final deve ser maior ou igual a Data Inicial",
         {"disable actExportar", "focus edtDataIni"}},
        {"pasta-sem-tabelas",
         day(1),
         day(31),
         "/nao/existe",
         "Arquivo de Notas Emitidas não foi encontrado.\n(DSEMI.DB)",
         {"disable actExportar", "focus edtOrigem"}},
        {"inicio-em-branco-passa-a-ordem",
         kBlankDate,
         day(5, 1),
         path,
         "no error",
         {"disable actExportar", "cursor sql", "cursor default"}},
    };
    for (const auto& c : cases) {
        host.events.clear();
        EXPECT_EQ(failureOf([&] {
                      ConsultaDados(queries, "1", {{c.start}, {c.end}}, c.folder, host);
                  }),
                  c.message)
            << c.name;
        EXPECT_EQ(host.events, c.events) << c.name;
    }
}

TEST_F(SourceQueriesTest, LockFilesAskBeforeAnyTableIsReadAndNoEndsTheStepClosed) {
    tables.issued = {issued(1, day(10), 1)};
    write();
    const std::string path = folder.path().string();
    const std::string unwritten =
        "Notas digitadas nela podem ainda não estar nos arquivos até que ela seja fechada.";
    const std::string leftBehind =
        "\nArquivos deixados por uma VRK 3 que não foi fechada corretamente têm a mesma aparência.";
    const struct {
        const char* name;
        std::vector<const char*> lockFiles;
        bool goOn;
        std::vector<std::string> events; // after "disable actExportar"
        bool opened;
    } cases[] = {
        {"sem-travas", {}, false, {"cursor sql", "cursor default"}, true},
        {"outros-arquivos-lck-nao-contam",
         {"OUTRA.LCK", "DSEMI.LCK.BAK"},
         false,
         {"cursor sql", "cursor default"},
         true},
        {"nao-encerra-o-passo",
         {"PDOXUSRS.LCK"},
         false,
         {"ask A VRK 3 parece estar aberta com estas tabelas (PDOXUSRS.LCK nesta pasta).\n" + unwritten +
              leftBehind,
          "focus edtOrigem"},
         false},
        {"sim-segue-em-minusculas",
         {"dsemi.lck", "paradox.lck"},
         true,
         {"ask A VRK 3 parece estar aberta com estas tabelas (paradox.lck e dsemi.lck nesta pasta).\n" +
              unwritten + leftBehind,
          "cursor sql", "cursor default"},
         true},
        {"as-cinco",
         {"DSCLI.LCK", "DSREC.LCK", "DSEMI.LCK", "PARADOX.LCK", "PdoxUsrs.lck"},
         true,
         {"ask A VRK 3 parece estar aberta com estas tabelas (PdoxUsrs.lck, PARADOX.LCK, DSEMI.LCK, "
          "DSREC.LCK "
          "e DSCLI.LCK nesta pasta).\n" +
              unwritten + leftBehind,
          "cursor sql", "cursor default"},
         true},
    };
    for (const auto& c : cases) {
        for (const char* name : c.lockFiles) {
            test::writeFile(folder.path() / name, "");
        }
        // What an earlier, failed step left open is closed whatever the answer.
        ASSERT_TRUE(open("1", day(1), day(31)));
        host.events.clear();
        host.goOn = c.goOn;
        const bool opened = ConsultaDados(queries, "1", {{day(1)}, {day(31)}}, path, host);
        std::vector<std::string> events = {"disable actExportar"};
        events.insert(events.end(), c.events.begin(), c.events.end());
        EXPECT_EQ(host.events, events) << c.name;
        EXPECT_EQ(opened, c.opened) << c.name;
        for (TableQuery* query : std::initializer_list<TableQuery*>{&queries.emitida(), &queries.recebida(),
                                                                    &queries.cliente()}) {
            EXPECT_EQ(query->isOpen(), c.opened) << c.name << " " << query->name();
        }
        for (const char* name : c.lockFiles) {
            fs::remove(folder.path() / name);
        }
    }
}

TEST_F(SourceQueriesTest, QueryStepClosesWhatAFailedStepLeftOpen) {
    tables.issued = {issued(1, day(10), 1), issued(2, day(10), 2)};
    tables.received = {received(2, day(10), 20)};
    write();
    const fs::path receivedTable = folder.path() / "DSREC.DB";
    const std::string good = test::readFile(receivedTable);
    test::writeFile(receivedTable, "damaged");
    EXPECT_NE(failureOf([&] {
                  ConsultaDados(queries, "1", {{day(1)}, {day(31)}}, folder.path().string(), host);
              }),
              "no error");
    EXPECT_TRUE(queries.emitida().isOpen());

    // The user mends the table and asks for another declarant: no row of the first may remain.
    test::writeFile(receivedTable, good);
    ConsultaDados(queries, "2", {{day(1)}, {day(31)}}, folder.path().string(), host);
    EXPECT_EQ(numbersOf(queries.emitida()), std::vector<std::int32_t>{2});
    EXPECT_EQ(numbersOf(queries.recebida()), std::vector<std::int32_t>{20});
}

} // namespace
} // namespace kalvian
