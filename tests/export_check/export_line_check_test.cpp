// Export lines read back: every line the export can write reads as written, and each damage is named.
#include "common/error.h"
#include "export_check/damaged_lines.h"
#include "export_check/export_file_reader.h"
#include "export_check/export_line_check.h"
#include "export_format/number_format.h"
#include "export_format/written_lines.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace kalvian {
namespace {

using test::Invoice;
using test::invoiceRecord;

// Every line checked in full, as --conferir checks a file (an export only adds up its usual lines).
std::string messageOf(const std::string& bytes) {
    try {
        ExportLineCheck check;
        for (std::string_view rest = bytes; !rest.empty();) {
            rest.remove_prefix(
                check.next(rest, [rest] { return physicalLineLength(rest, true).value_or(rest.size()); }));
        }
        check.finish();
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

// ---- What the export writes reads back

struct WrittenCase {
    const char* name;
    Invoice invoice;
    char separator = '/';
};

Invoice with(std::function<void(Invoice&)> change) {
    Invoice invoice;
    change(invoice);
    return invoice;
}

class WrittenLines : public ::testing::TestWithParam<WrittenCase> {};

// Amounts and rates of every form, including those whose general-notation exponent could take a third digit
// from the field that follows ("1E18" before "000000001000.00" reads as 1E180 too).
const WrittenCase kWrittenCases[] = {
    {"comum", Invoice{}},
    {"barra", Invoice{}, '/'},
    {"ponto", Invoice{}, '.'},
    {"hifen", Invoice{}, '-'},
    {"negativos",
     with([](Invoice& i) { i.valnf = -1.5, i.valser = -1000, i.aliquo = -5, i.impret = -0.01; })},
    {"acima-de-10-a-12",
     with([](Invoice& i) { i.valnf = 1e12, i.valser = 123456789012345.67, i.impret = 5e15; })},
    {"quase-10-a-18",
     with([](Invoice& i) { i.valnf = 999999999999999872.0, i.valser = -999999999999999872.0; })},
    {"empates",
     with([](Invoice& i) { i.valnf = 0.125, i.valser = 1.005, i.aliquo = 2.675, i.impret = -0.125; })},
    {"aliquota-100", with([](Invoice& i) { i.aliquo = 100, i.alqret = 1234.5; })},
    {"retencao-pela-aliquota", with([](Invoice& i) { i.restrb = "R", i.aliquo = 5; })},
    {"valnf-1e18-antes-de-valser", with([](Invoice& i) { i.valnf = 1e18; })},
    {"valnf-1-5e20", with([](Invoice& i) { i.valnf = 1.5e20, i.valser = -2.5e19; })},
    {"alqret-1e18-antes-do-cliente", with([](Invoice& i) { i.alqret = 1e18; })},
    {"aliquota-1e30-antes-de-alqret", with([](Invoice& i) { i.aliquo = 1e30, i.alqret = 12; })},
    {"impret-1e18-antes-do-cliente", with([](Invoice& i) { i.impret = 1e18; })},
    {"impret-1e30-antes-do-cliente", with([](Invoice& i) { i.impret = 1e30; })},
    {"impret-1e30-sem-cliente", with([](Invoice& i) { i.impret = 1e30, i.codcli = 0; })},
    {"maior-double",
     with([](Invoice& i) { i.valnf = std::numeric_limits<double>::max(), i.impret = -1e308; })},
    {"infinitos", with([](Invoice& i) {
         i.valnf = std::numeric_limits<double>::infinity(),
         i.valser = -std::numeric_limits<double>::infinity();
         i.impret = std::numeric_limits<double>::quiet_NaN(),
         i.aliquo = std::numeric_limits<double>::infinity();
     })},
    {"cliente-ausente", with([](Invoice& i) { i.codcli = 57; })},
    {"codigo-zero", with([](Invoice& i) { i.codcli = 0; })},
    {"modu-x-minusculo", with([](Invoice& i) { i.modu = "x"; })},
    {"numero-negativo", with([](Invoice& i) { i.numnf = -5; })},
    {"numero-cortado", with([](Invoice& i) { i.numnf = -2147483647; })},
    {"ano-1", with([](Invoice& i) {
         i.date = {1, 1, 1};
     })},
    {"29-de-fevereiro", with([](Invoice& i) {
         i.date = {2008, 2, 29};
     })},
};

// A sound line reads whole; its amounts read as written unless the read is marked ambiguous. Returns
// whether it is.
bool expectReadsAsWritten(const std::string& line, const Invoice& invoice, const std::string& next) {
    const std::string bytes = line + next;
    const RecordRead read = readExportRecord(bytes);
    EXPECT_TRUE(read.record.has_value()) << read.fault.message << "\n" << line;
    if (!read.record) {
        return false;
    }
    EXPECT_EQ(read.record->length, line.size());
    EXPECT_EQ(read.record->client, std::string_view(line).substr(line.size() - 2 - 226, 226));
    // The reading of usual lines takes exactly the lines whose numbers all have their usual width, and reads
    // them as the full reading does.
    const auto usualWidth = [](std::string_view number, std::size_t width) {
        return number.size() == width && number.front() != '-' && number.find('E') == std::string_view::npos;
    };
    const bool usual = usualWidth(read.record->valnf, 15) && usualWidth(read.record->valser, 15) &&
                       (line[0] != 'R' || usualWidth(read.record->impret, 15)) &&
                       line.size() == (line[0] == 'R' ? 309u : 290u);
    const std::optional<ExportRecord> quick = readUsualRecord(bytes);
    EXPECT_EQ(quick.has_value(), usual) << line;
    if (quick) {
        EXPECT_EQ(quick->length, read.record->length);
        EXPECT_EQ(quick->dateSeparator, read.record->dateSeparator);
        EXPECT_EQ(quick->valnf, read.record->valnf);
        EXPECT_EQ(quick->valser, read.record->valser);
        EXPECT_EQ(quick->impret, read.record->impret);
        EXPECT_EQ(quick->client, read.record->client);
    }
    if (read.ambiguous) {
        return true;
    }
    EXPECT_EQ(read.record->valnf, test::amountText(invoice.valnf));
    EXPECT_EQ(read.record->valser, test::amountText(invoice.valser));
    if (line[0] == 'R') {
        EXPECT_EQ(read.record->impret, test::amountText(invoice.impret));
    }
    return false;
}

TEST_P(WrittenLines, ReadAsWritten) {
    const WrittenCase& c = GetParam();
    const std::string issued = test::issuedLine(c.invoice, c.separator);
    const std::string received = test::receivedLine(c.invoice, c.separator);
    expectReadsAsWritten(issued, c.invoice, received);
    expectReadsAsWritten(received, c.invoice, received);
    EXPECT_EQ(messageOf(test::headerLine() + issued + test::issuedLine(test::shortInvoice(), c.separator) +
                        received),
              "");
}

INSTANTIATE_TEST_SUITE_P(ExportRecord, WrittenLines, ::testing::ValuesIn(kWrittenCases), test::ByCaseName());

double randomNumber(std::mt19937_64& random) {
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_real_distribution<double> unit(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-4, 308);
    std::uniform_int_distribution<std::int64_t> cents(-100000000, 100000000);
    switch (kind(random)) {
    case 0:
        return std::numeric_limits<double>::infinity();
    case 1:
        return std::numeric_limits<double>::quiet_NaN();
    case 2:
        return -unit(random) * std::pow(10.0, exponent(random));
    case 3:
    case 4:
        return unit(random) * std::pow(10.0, exponent(random));
    case 5:
        return static_cast<double>(cents(random)) / 100.0 + 0.005; // near a tie
    default:
        return static_cast<double>(cents(random)) / 100.0;
    }
}

std::string randomText(std::mt19937_64& random, std::size_t longest) {
    std::uniform_int_distribution<std::size_t> length(0, longest);
    std::uniform_int_distribution<int> byte(1, 255);
    std::string text(length(random), ' ');
    for (char& ch : text) {
        ch = static_cast<char>(byte(random));
    }
    return text;
}

// Any client data (line breaks inside names included), any amount and rate, either line type: each line
// reads back whole, its amounts as written, before whatever follows it.
TEST(ExportRecord, ManyRandomLinesReadAsWritten) {
    std::mt19937_64 random(1414);
    std::uniform_int_distribution<std::int32_t> code(-3, 6);
    std::uniform_int_distribution<std::int32_t> anyInteger(std::numeric_limits<std::int32_t>::min(),
                                                           std::numeric_limits<std::int32_t>::max());
    const char separators[] = {'/', '.', '-'};
    constexpr int kLines = 10000;
    int ambiguous = 0;
    for (int i = 0; i < kLines; ++i) {
        Invoice invoice;
        invoice.valnf = randomNumber(random);
        invoice.valser = randomNumber(random);
        invoice.aliquo = randomNumber(random);
        invoice.alqret = randomNumber(random);
        invoice.impret = randomNumber(random);
        invoice.restrb = i % 3 == 0 ? "R" : randomText(random, 2);
        invoice.numnf = anyInteger(random);
        invoice.codcli = code(random);
        MemoryRecord client = test::clientRecord(1, randomText(random, 90));
        client.set("INSMUN", randomNumber(random));
        client.set("NUMCNPJ", randomText(random, 16));
        client.set("NUMERO", anyInteger(random));
        client.set("CEP", randomText(random, 9));
        MemoryClients clients({client});
        const char separator = separators[i % 3];
        const MemoryRecord record = invoiceRecord(invoice);
        const std::string line = (i % 2 == 0 ? test::issuedLineOf(record, clients, separator)
                                             : test::receivedLineOf(record, clients, separator)) +
                                 "\r\n";
        ambiguous += expectReadsAsWritten(line, invoice, test::receivedLine(Invoice{})) ? 1 : 0;
        if (HasFailure()) {
            FAIL() << "linha " << i;
        }
    }
    // Some general-notation amounts here stand before an amount or rate that lends them a digit; most lines
    // are compared in full all the same.
    EXPECT_GT(ambiguous, 0);
    EXPECT_LT(ambiguous, kLines / 10);
}

TEST(ExportRecord, NumbersThatReadTwoWaysAreMarked) {
    const struct {
        const char* name;
        Invoice invoice;
        const char* valnf;
        const char* valser;
        bool ambiguous;
    } cases[] = {
        // The next amount in its usual 12 digits: the longer exponent is right, and taken.
        {"expoente-de-3-digitos", with([](Invoice& i) { i.valnf = 1.5e208; }), "1.5E208", "000000001000.00",
         true},
        // The next amount of 13 digits lends its first digit to the exponent: taken the other way.
        {"valor-seguinte-de-13-digitos",
         with([](Invoice& i) { i.valnf = 1.5e20, i.valser = 8000000001000.0; }), "1.5E208", "000000001000.00",
         true},
        // A zero cannot start a 13-digit amount: one reading only.
        {"expoente-terminado-em-zero", with([](Invoice& i) { i.valnf = 1e300; }), "1E300", "000000001000.00",
         false},
        {"expoente-de-2-digitos", with([](Invoice& i) { i.valnf = 1e18; }), "1E18", "000000001000.00", false},
    };
    for (const auto& c : cases) {
        const std::string line = test::issuedLine(c.invoice);
        const RecordRead read = readExportRecord(line);
        ASSERT_TRUE(read.record.has_value()) << c.name;
        EXPECT_EQ(read.record->valnf, c.valnf) << c.name;
        EXPECT_EQ(read.record->valser, c.valser) << c.name;
        EXPECT_EQ(read.ambiguous, c.ambiguous) << c.name;
    }
}

// ---- Each damage is named

class DamagedLines : public ::testing::TestWithParam<test::Damage> {};

TEST_P(DamagedLines, FirstBadLineNamed) {
    std::vector<std::string> lines = test::soundLines();
    ASSERT_EQ(messageOf(test::joined(lines)), "");
    GetParam().damage(lines);
    EXPECT_EQ(messageOf(test::joined(lines)), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(ExportLineCheck, DamagedLines, ::testing::ValuesIn(test::damages()),
                         test::ByCaseName());

// ---- Physical lines

TEST(ExportRecord, PhysicalLineLength) {
    EXPECT_EQ(physicalLineLength("abc\r\ndef", false), 3u);
    EXPECT_EQ(physicalLineLength("abc\ndef", false), 3u);
    EXPECT_EQ(physicalLineLength("\r\n", false), 0u);
    EXPECT_EQ(physicalLineLength("abc", false), std::nullopt);
    EXPECT_EQ(physicalLineLength("abc", true), 3u);
    EXPECT_EQ(physicalLineLength("abc\r", true), 3u);
    EXPECT_EQ(physicalLineLength("a\rb\n", true), 3u);
}

} // namespace
} // namespace kalvian
