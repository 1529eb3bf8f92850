// What an export file holds, added up from its lines as read back.
#include "export_check/export_file_reader.h"
#include "export_check/export_totals.h"
#include "export_format/written_lines.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

using test::Invoice;

ExportTotals totalsOf(const std::vector<std::string>& lines) {
    ExportTotals totals;
    for (const std::string& line : lines) {
        const RecordRead read = readExportRecord(line);
        EXPECT_TRUE(read.record.has_value()) << read.fault.message;
        if (read.record) {
            totals.add(*read.record);
        }
    }
    return totals;
}

Invoice invoice(double valnf, double valser, double impret = 0, std::int32_t client = 1) {
    Invoice values;
    values.valnf = valnf;
    values.valser = valser;
    values.impret = impret;
    values.codcli = client;
    return values;
}

std::string brazilian(const ExactSum& sum) {
    return sum.text(',', '.');
}

// ---- Counts and sums

TEST(ExportTotals, CountsAndSumsEachLineType) {
    const ExportTotals totals = totalsOf({
        test::headerLine(),
        test::issuedLine(invoice(1500.5, 1000)),
        test::issuedLine(invoice(-0.125, 2.675)), // rounds to -0.13 and 2.67 as written
        test::issuedLine(test::shortInvoice()),
        test::receivedLine(invoice(200, 150.25, 3.75)),
        test::receivedLine(invoice(1e12, 1e18, -1.5)),
    });
    EXPECT_EQ(totals.issued, 3);
    EXPECT_EQ(totals.issuedShort, 1);
    EXPECT_EQ(totals.received, 2);
    EXPECT_EQ(brazilian(totals.issuedValue), "1.500,37");
    EXPECT_EQ(brazilian(totals.issuedServices), "1.002,67");
    EXPECT_EQ(brazilian(totals.receivedValue), "1.000.000.000.200,00");
    EXPECT_EQ(brazilian(totals.receivedServices), "1.000.000.000.000.000.150,25");
    EXPECT_EQ(brazilian(totals.withheldTax), "2,25");
    EXPECT_EQ(totals.withoutClient, 0);
}

// ---- Clients not found

TEST(ExportTotals, ClientsNotFoundFromTheirBlocks) {
    MemoryRecord lookalike = test::clientRecord(5, "TOMADOR NAO ENCONTRADO (5)");
    for (const char* field :
         {"INSMUN", "NUMCNPJ", "RUA", "NUMERO", "COMPLE", "BAIRRO", "CIDADE", "ESTADO", "CEP"}) {
        lookalike.set(field, std::monostate{});
    }
    MemoryRecord wrongPlaceholder = lookalike;
    wrongPlaceholder.set("NOME", std::string("PRESTADOR NAO ENCONTRADO (5)"));
    MemoryRecord namedLikeIt = test::clientRecord(5, "TOMADOR NAO ENCONTRADO (5)");
    const auto issuedWith = [](const MemoryRecord& client) {
        MemoryClients clients({client});
        return test::issuedLineOf(test::invoiceRecord(invoice(1, 1, 0, 5)), clients, '/') + "\r\n";
    };

    const struct {
        const char* name;
        std::string line;
        std::int64_t missing;
        std::vector<std::int64_t> codes;
        std::int64_t withoutCode;
    } cases[] = {
        {"encontrado", test::issuedLine(invoice(1, 1, 0, 1)), 0, {}, 0},
        {"emitida-codigo-57", test::issuedLine(invoice(1, 1, 0, 57)), 1, {57}, 0},
        {"recebida-codigo-57", test::receivedLine(invoice(1, 1, 0, 57)), 1, {57}, 0},
        {"maior-codigo", test::receivedLine(invoice(1, 1, 0, 2147483647)), 1, {2147483647}, 0},
        {"codigo-zero", test::issuedLine(invoice(1, 1, 0, 0)), 1, {}, 1},
        {"codigo-negativo", test::receivedLine(invoice(1, 1, 0, -3)), 1, {}, 1},
        // A client whose data are empty but for a name like the placeholder is what the file shows.
        {"cliente-igual-ao-marcador", issuedWith(lookalike), 1, {5}, 0},
        {"marcador-da-recebida-numa-emitida", issuedWith(wrongPlaceholder), 0, {}, 0},
        {"nome-como-o-marcador-e-endereco", issuedWith(namedLikeIt), 0, {}, 0},
    };
    for (const auto& c : cases) {
        const ExportTotals totals = totalsOf({c.line});
        EXPECT_EQ(totals.withoutClient, c.missing) << c.name;
        EXPECT_EQ(totals.missingClientCodes, c.codes) << c.name;
        EXPECT_EQ(totals.withoutClientCode, c.withoutCode) << c.name;
        EXPECT_FALSE(totals.moreMissingCodes) << c.name;
    }
}

TEST(ExportTotals, UpToTenCodesEachOnce) {
    std::vector<std::string> lines;
    for (std::int32_t code = 100; code < 112; ++code) {
        lines.push_back(test::issuedLine(invoice(1, 1, 0, code)));
        lines.push_back(test::receivedLine(invoice(1, 1, 0, code)));
    }
    lines.push_back(test::issuedLine(invoice(1, 1, 0, 0)));
    const ExportTotals totals = totalsOf(lines);
    EXPECT_EQ(totals.withoutClient, 25);
    EXPECT_EQ(totals.missingClientCodes,
              (std::vector<std::int64_t>{100, 101, 102, 103, 104, 105, 106, 107, 108, 109}));
    EXPECT_TRUE(totals.moreMissingCodes);
    EXPECT_EQ(totals.withoutClientCode, 1);
}

// ---- Totals of several files

TEST(ExportTotals, AddingTotalsEqualsAddingTheirLines) {
    const std::vector<std::string> first = {test::issuedLine(invoice(10.1, 5, 0, 57)),
                                            test::receivedLine(invoice(-3, 1e20, 7, 9))};
    const std::vector<std::string> second = {test::issuedLine(test::shortInvoice()),
                                             test::receivedLine(invoice(0.005, 2, 1, 57)),
                                             test::receivedLine(invoice(1, 1, 1, 0))};
    std::vector<std::string> all = first;
    all.insert(all.end(), second.begin(), second.end());

    ExportTotals merged = totalsOf(first);
    merged.add(totalsOf(second));
    const ExportTotals whole = totalsOf(all);
    EXPECT_EQ(merged.issued, whole.issued);
    EXPECT_EQ(merged.issuedShort, whole.issuedShort);
    EXPECT_EQ(merged.received, whole.received);
    EXPECT_EQ(merged.withoutClient, 4);
    EXPECT_EQ(merged.withoutClient, whole.withoutClient);
    EXPECT_EQ(merged.missingClientCodes, (std::vector<std::int64_t>{57, 9}));
    EXPECT_EQ(merged.missingClientCodes, whole.missingClientCodes);
    EXPECT_EQ(merged.withoutClientCode, whole.withoutClientCode);
    for (const auto sum :
         {&ExportTotals::issuedValue, &ExportTotals::issuedServices, &ExportTotals::receivedValue,
          &ExportTotals::receivedServices, &ExportTotals::withheldTax}) {
        EXPECT_EQ(brazilian(merged.*sum), brazilian(whole.*sum));
    }
    EXPECT_EQ(brazilian(merged.receivedServices), "100.000.000.000.000.000.003,00");
}

} // namespace
} // namespace kalvian
