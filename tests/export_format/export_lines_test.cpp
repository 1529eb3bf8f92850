#include "common/date_serial.h"
#include "common/error.h"
#include "export_format/export_lines.h"
#include "export_format/written_lines.h"
#include "support/memory_records.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

const double k15Jan2008 = toSerial({2008, 1, 15});

MemoryRecord emitida() {
    return {{"INSMUN", 123.0},
            {"DATA", DateSerial{k15Jan2008}},
            {"SERIE", std::string("A")},
            {"NUMNF", std::int32_t{42}},
            {"MODU", std::string("1")},
            {"VALNF", 1500.5},
            {"VALSER", 1000.0},
            {"RESTRB", std::string(" ")},
            {"ALIQUO", 5.0},
            {"ALQRET", 0.0},
            {"SITPAG", std::string("P")},
            {"TIPDOC", std::string("NF")},
            {"CODCLI", std::int32_t{7}}};
}

MemoryRecord recebida() {
    return {{"KEY", std::int32_t{1}},
            {"INSMUN", 123.0},
            {"DATA", DateSerial{k15Jan2008}},
            {"CODCLI", std::int32_t{7}},
            {"SERIE", std::string("B")},
            {"NUMNF", std::int32_t{314}},
            {"DATEMI", DateSerial{1.0}},
            {"MODU", std::string("2")},
            {"VALNF", 200.0},
            {"VALSER", 150.25},
            {"ALIQUO", 2.5},
            {"IMPRET", 3.75},
            {"SITPAG", std::string("P")},
            {"TIPDOC", std::string("NF")}};
}

// The tests' client, its CNPJ stored with blanks around it and its two flags set, none of which reaches a
// line.
MemoryRecord cliente(std::int32_t code, const std::string& name) {
    MemoryRecord client = test::clientRecord(code, name);
    client.set("NUMCNPJ", std::string(" 12345678000199 "));
    client.set("TOMADO", std::string("S"));
    client.set("PRESTA", std::string("N"));
    return client;
}

std::string padded(const std::string& text, std::size_t width) {
    return text + std::string(width - text.size(), ' ');
}

std::string clientBlockOfSeven() {
    return "12345678901"
           "12345678000199"
           "00000000000" +
           padded("Cliente Sete", 70) + padded("Rua Dom Jos\xE9", 40) + "00150" + padded("Sala 2", 15) +
           padded("Centro", 30) + padded("S\xE3o Paulo", 20) +
           "SP"
           "01310100";
}

std::string missingClientBlock(const std::string& name) {
    return std::string(36, '0') + padded(name, 70) + std::string(40, ' ') + "00000" + std::string(67, ' ') +
           "00000000";
}

// ---- header

TEST(Header, RegistrationZeroFilled) {
    EXPECT_EQ(LinhaCabecalho("123"), "H0000000012340");
    EXPECT_EQ(LinhaCabecalho(" 123 "), "H0000000012340");
    EXPECT_EQ(LinhaCabecalho(""), "H0000000000040");
    EXPECT_EQ(LinhaCabecalho("123456789012"), "H1234567890140");
}

// ---- issued invoices

TEST(LinhaEmitida, FullLineWithClient) {
    MemoryClients clients({cliente(7, "Cliente Sete")});
    const std::string line = test::issuedLineOf(emitida(), clients, '/');
    const std::string expected = "E"
                                 "15/01/2008"
                                 "A"
                                 "1"
                                 "00000042"
                                 "000000001500.50"
                                 "000000001000.00"
                                 " "
                                 "05.00"
                                 "00.00" +
                                 clientBlockOfSeven();
    EXPECT_EQ(line, expected);
    EXPECT_EQ(line.size(), 288u);
}

TEST(LinhaEmitida, WithholdingRate) {
    const struct {
        const char* name;
        std::string restrb;
        double alqret;
        const char* rate; // positions 58-62
    } cases[] = {
        {"retido-com-aliquota-propria", "R", 2.0, "02.00"},
        {"retido-sem-aliquota-usa-a-da-nota", "R", 0.0, "05.00"},
        {"nao-retido-sem-aliquota", " ", 0.0, "00.00"},
        {"nao-retido-com-aliquota", "", 3.0, "03.00"},
        {"r-minusculo-nao-conta", "r", 0.0, "00.00"},
        {"r-com-branco-nao-conta", "R ", 0.0, "00.00"},
    };
    MemoryClients clients;
    for (const auto& c : cases) {
        MemoryRecord invoice = emitida();
        invoice.set("RESTRB", c.restrb);
        invoice.set("ALQRET", c.alqret);
        EXPECT_EQ(test::issuedLineOf(invoice, clients, '/').substr(57, 5), c.rate) << c.name;
    }
}

TEST(LinhaEmitida, ShortLineForModuX) {
    MemoryRecord invoice = emitida();
    invoice.set("MODU", std::string("X"));
    invoice.set("CODCLI", std::int32_t{999});
    MemoryClients clients;
    EXPECT_EQ(test::issuedLineOf(invoice, clients, '/'), "C"
                                                         "15/01/2008"
                                                         "11"
                                                         "A"
                                                         "00000042"
                                                         "00000042");

    invoice.set("SERIE", FieldValue{});
    invoice.set("NUMNF", FieldValue{});
    EXPECT_EQ(test::issuedLineOf(invoice, clients, '-'), "C"
                                                         "15-01-2008"
                                                         "11"
                                                         " "
                                                         "00000000"
                                                         "00000000");
}

TEST(LinhaEmitida, OnlyAnExactUpperCaseXIsShort) {
    MemoryClients clients;
    for (const char* modu : {"x", " X", "X ", "XX"}) {
        MemoryRecord invoice = emitida();
        invoice.set("MODU", std::string(modu));
        const std::string line = test::issuedLineOf(invoice, clients, '/');
        EXPECT_EQ(line.front(), 'E') << modu;
        EXPECT_EQ(line.size(), 288u) << modu;
    }
}

// A client lookup that records the codes asked for.
class CountingClients : public ClientLookup {
public:
    const SourceRecord* find(std::int32_t code) override {
        asked.push_back(code);
        return nullptr;
    }
    std::unique_ptr<ClientLookup> anotherLookup() const override {
        return std::make_unique<CountingClients>(*this);
    }
    std::vector<std::int32_t> asked;
};

TEST(LinhaEmitida, ShortLineMakesNoLookup) {
    MemoryRecord invoice = emitida();
    invoice.set("MODU", std::string("X"));
    CountingClients clients;
    test::issuedLineOf(invoice, clients, '/');
    EXPECT_TRUE(clients.asked.empty());
    invoice.set("MODU", std::string("x"));
    test::issuedLineOf(invoice, clients, '/');
    EXPECT_EQ(clients.asked, std::vector<std::int32_t>{7});
}

TEST(LinhaEmitida, EmptyFieldsAndNulls) {
    MemoryRecord invoice = emitida();
    for (const char* field :
         {"SERIE", "MODU", "NUMNF", "VALNF", "VALSER", "RESTRB", "ALIQUO", "ALQRET", "CODCLI"}) {
        invoice.set(field, FieldValue{});
    }
    MemoryClients clients;
    const std::string line = test::issuedLineOf(invoice, clients, '/');
    EXPECT_EQ(line, "E"
                    "15/01/2008"
                    " "
                    " "
                    "00000000"
                    "000000000000.00"
                    "000000000000.00"
                    " "
                    "00.00"
                    "00.00" +
                        missingClientBlock(""));
}

// ---- client block, both line kinds

TEST(ClientBlock, MissingClients) {
    const struct {
        const char* name;
        std::int32_t code;
        const char* emitida;  // name field of an E line
        const char* recebida; // name field of an R line
    } cases[] = {
        {"codigo-57", 57, "TOMADOR NAO ENCONTRADO (57)", "PRESTADOR NAO ENCONTRADO (57)"},
        {"codigo-123", 123, "TOMADOR NAO ENCONTRADO (123)", "PRESTADOR NAO ENCONTRADO (123)"},
        {"codigo-zero", 0, "", ""},
        {"codigo-negativo", -4, "", ""},
        {"codigo-maximo", 2147483647, "TOMADOR NAO ENCONTRADO (2147483647)",
         "PRESTADOR NAO ENCONTRADO (2147483647)"},
    };
    MemoryClients clients({cliente(7, "Cliente Sete")});
    for (const auto& c : cases) {
        MemoryRecord issued = emitida();
        issued.set("CODCLI", c.code);
        MemoryRecord received = recebida();
        received.set("CODCLI", c.code);
        const std::string e = test::issuedLineOf(issued, clients, '/');
        const std::string r = test::receivedLineOf(received, clients, '/');
        EXPECT_EQ(e.substr(62), missingClientBlock(c.emitida)) << c.name;
        EXPECT_EQ(r.substr(81), missingClientBlock(c.recebida)) << c.name;
        EXPECT_EQ(e.size(), 288u) << c.name;
        EXPECT_EQ(r.size(), 307u) << c.name;
    }
}

TEST(ClientBlock, NullCodeReadsAsZero) {
    MemoryRecord invoice = emitida();
    invoice.set("CODCLI", FieldValue{});
    MemoryClients clients({cliente(0, "Cliente Zero")});
    EXPECT_EQ(test::issuedLineOf(invoice, clients, '/').substr(62 + 36, 12), "Cliente Zero");
}

TEST(ClientBlock, LongFieldsAreCutAndBlanksTrimmed) {
    MemoryRecord client = cliente(7, std::string(70, 'N') + "EXCEDENTE!");
    client.set("INSMUN", FieldValue{});
    client.set("NUMERO", std::int32_t{1234567});
    client.set("CEP", std::string("  01310-100  "));
    MemoryClients clients({client});
    const std::string block = test::issuedLineOf(emitida(), clients, '/').substr(62);
    ASSERT_EQ(block.size(), 226u);
    EXPECT_EQ(block.substr(0, 11), "00000000000");
    EXPECT_EQ(block.substr(11, 14), "12345678000199");
    EXPECT_EQ(block.substr(36, 70), std::string(70, 'N'));
    EXPECT_EQ(block.substr(146, 5), "12345");
    EXPECT_EQ(block.substr(218, 8), "01310-10");
}

TEST(ClientBlock, FirstClientOfARepeatedCodeWins) {
    MemoryClients clients({cliente(9, "Outro"), cliente(7, "Primeiro"), cliente(7, "Segundo")});
    EXPECT_EQ(test::issuedLineOf(emitida(), clients, '/').substr(62 + 36, 8), "Primeiro");
}

// ---- received invoices

TEST(LinhaRecebida, FullLineWithClient) {
    MemoryClients clients({cliente(7, "Cliente Sete")});
    const std::string line = test::receivedLineOf(recebida(), clients, '/');
    const std::string expected = "R"
                                 "15/01/2008"
                                 "15/01/2008"
                                 "B"
                                 "2"
                                 "00000314"
                                 "000000000200.00"
                                 "000000000150.25"
                                 "02.50"
                                 "000000000003.75" +
                                 clientBlockOfSeven();
    EXPECT_EQ(line, expected);
    EXPECT_EQ(line.size(), 307u);
}

TEST(LinhaRecebida, DateSeparatorFromTheCaller) {
    MemoryClients clients;
    EXPECT_EQ(test::receivedLineOf(recebida(), clients, '.').substr(0, 21), "R15.01.200815.01.2008");
}

// ---- widths

TEST(LineWidths, GrowOnlyWithNegativeOrHugeValues) {
    const struct {
        const char* name;
        const char* field;
        double value;
        std::size_t emitida;
    } cases[] = {
        {"valores-normais", "VALNF", 999999999999.99, 288},
        {"arredonda-para-10-a-12", "VALNF", 999999999999.996, 289},
        {"valor-negativo", "VALSER", -1.5, 289},
        {"aliquota-negativa", "ALIQUO", -5.0, 290}, // written twice: rate and withholding rate
        {"aliquota-cem", "ALQRET", 100.0, 289},
    };
    MemoryClients clients;
    for (const auto& c : cases) {
        MemoryRecord invoice = emitida();
        invoice.set("RESTRB", std::string("R"));
        invoice.set(c.field, c.value);
        EXPECT_EQ(test::issuedLineOf(invoice, clients, '/').size(), c.emitida) << c.name;
    }
    MemoryRecord invoice = emitida();
    invoice.set("VALNF", -1.5);
    EXPECT_EQ(test::issuedLineOf(invoice, clients, '/').substr(21, 16), "-000000000001.50");
}

TEST(LinhaEmitida, UnknownFieldIsAnError) {
    MemoryRecord incomplete{{"MODU", std::string("1")}, {"DATA", DateSerial{k15Jan2008}}};
    MemoryClients clients;
    try {
        test::issuedLineOf(incomplete, clients, '/');
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Field 'CODCLI' not found");
    }
}

} // namespace
} // namespace kalvian
