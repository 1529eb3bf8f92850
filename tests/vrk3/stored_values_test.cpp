// Stored values at the edges, read as the engine reads them: tables written at test time, opened by the
// queries and exported into a real file, whose bytes are checked.
#include "common/date_serial.h"
#include "recording_host.h"
#include "run/export_run.h"
#include "run/recording_view.h"
#include "support/temp_folder.h"
#include "vrk3/source_queries.h"
#include "vrk3_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kalvian {
namespace {

using namespace std::string_literals;
using paradox::ClientRow;
using paradox::FieldType;
using paradox::IssuedRow;
using paradox::Vrk3Tables;

// Where a field lies in an E line (from 0): the date, then the client block from position 63.
struct Slice {
    std::size_t at;
    std::size_t width;
};
constexpr std::size_t kClientBlock = 62;
constexpr Slice kDate{1, 10};
constexpr Slice kNome{kClientBlock + 36, 70};
constexpr Slice kRua{kClientBlock + 106, 40};
constexpr Slice kBairro{kClientBlock + 166, 30};

std::string padded(const std::string& text, std::size_t width) {
    return text + std::string(width - text.size(), ' ');
}

double day(int year, int month, int d) {
    return toSerial({year, month, d});
}

constexpr double kSecond = 1.0 / 86400.0;

IssuedRow invoice(double date) {
    IssuedRow row;
    row.insmun = 123.0;
    row.data = date;
    row.codcli = std::int32_t{1};
    return row;
}

class StoredValuesTest : public ::testing::Test {
protected:
    // Registration 123 queried over the period and exported: the E lines of the file, without CR LF.
    std::vector<std::string> exportedLines(double start, double end) {
        SourceQueries queries;
        test::RecordingHost host;
        EXPECT_TRUE(queries.AbreConsultas("123", {{start}, {end}}, source.path().string(), host));
        test::RecordingView view;
        view.folder = destination.path().string();
        view.name = "saida.txt";
        EXPECT_TRUE(ExportaDados(view, {queries.emitida(), queries.recebida(), queries.cliente()}, '/'));
        const std::string file = test::readFile(destination / "saida.txt");
        std::vector<std::string> lines;
        for (std::size_t at = 0; at < file.size();) {
            const std::size_t end = file.find("\r\n", at);
            lines.push_back(file.substr(at, end - at));
            at = end == std::string::npos ? file.size() : end + 2;
        }
        EXPECT_FALSE(lines.empty());
        if (!lines.empty()) {
            lines.erase(lines.begin()); // the header
        }
        return lines;
    }

    // One invoice of 10/03/2008 for the client.
    std::string exportedLineOf(const ClientRow& client) {
        tables.issued = {invoice(day(2008, 3, 10))};
        tables.clients = {client};
        tables.write(source.path());
        const std::vector<std::string> lines = exportedLines(day(2008, 3, 1), day(2008, 3, 31));
        EXPECT_EQ(lines.size(), 1u);
        return lines.empty() ? std::string() : lines.front();
    }

    test::TempFolder source;
    test::TempFolder destination;
    Vrk3Tables tables;
};

std::string slice(const std::string& line, Slice where) {
    return line.size() >= where.at + where.width ? line.substr(where.at, where.width) : "(linha curta)";
}

ClientRow clientWith(std::string nome, std::string rua, std::string bairro) {
    ClientRow row;
    row.codcli = std::int32_t{1};
    row.nome = std::move(nome);
    row.rua = std::move(rua);
    row.bairro = std::move(bairro);
    return row;
}

// ---- text bytes

TEST_F(StoredValuesTest, AZeroByteEndsTheText) {
    for (const int codePage : {850, 1252}) {
        tables.codePage = codePage;
        const std::string line = exportedLineOf(clientWith("AB\0CD"s, "\0XYZ"s, "Centro\0\0X"s));
        EXPECT_EQ(slice(line, kNome), padded("AB", kNome.width)) << codePage;
        EXPECT_EQ(slice(line, kRua), padded("", kRua.width)) << codePage;
        EXPECT_EQ(slice(line, kBairro), padded("Centro", kBairro.width)) << codePage;
    }
}

TEST_F(StoredValuesTest, CodePage1252BytesReachTheFileAsTheyAre) {
    tables.codePage = 1252;
    const std::string line =
        exportedLineOf(clientWith("Caf\xE9 \x8F\x9D", "Rua \x80 \x81", "CAF\x81\x8D\x90"));
    EXPECT_EQ(slice(line, kNome), padded("Caf\xE9 \x8F\x9D", kNome.width));
    EXPECT_EQ(slice(line, kRua), padded("Rua \x80 \x81", kRua.width));
    EXPECT_EQ(slice(line, kBairro), padded("CAF\x81\x8D\x90", kBairro.width));
}

// A shade, a block and a square (0xB0, 0xDB, 0xFE) have no Windows-1252 form in the DOS code pages.
TEST_F(StoredValuesTest, OtherCodePagesGiveAQuestionMarkForCharactersWindows1252Lacks) {
    for (const int codePage : {437, 850, 860}) {
        tables.codePage = codePage;
        tables.issued = {invoice(day(2008, 3, 10))};
        tables.clients = {clientWith("Pra\xE7"
                                     "a",
                                     "Rua", "CAF###")};
        tables.write(source.path());
        // The writer takes Windows-1252 text only: the stored bytes are put in place afterwards.
        const auto clients = source.path() / "DSCLI.DB";
        std::string bytes = test::readFile(clients);
        const std::size_t at = bytes.find("CAF###");
        ASSERT_NE(at, std::string::npos) << codePage;
        bytes.replace(at, 6, "CAF\xB0\xDB\xFE");
        test::writeFile(clients, bytes);

        const std::vector<std::string> lines = exportedLines(day(2008, 3, 1), day(2008, 3, 31));
        ASSERT_EQ(lines.size(), 1u) << codePage;
        EXPECT_EQ(slice(lines.front(), kBairro), padded("CAF???", kBairro.width)) << codePage;
        EXPECT_EQ(slice(lines.front(), kNome), padded("Pra\xE7"
                                                      "a",
                                                      kNome.width))
            << codePage;
    }
}

// ---- timestamps

// DSEMI whose DATA is a timestamp, with one invoice per stamp, in this order.
void writeStampedInvoices(const std::filesystem::path& folder, const std::vector<double>& stamps) {
    paradox::TableLayout layout = paradox::issuedLayout();
    for (paradox::WriterField& field : layout.fields) {
        if (field.name == "DATA") {
            field.type = FieldType::Timestamp;
        }
    }
    paradox::TableWriter writer(layout);
    for (const double stamp : stamps) {
        writer.addRow(paradox::values(invoice(stamp)));
    }
    writer.writeFile(folder / "DSEMI.DB");
}

TEST_F(StoredValuesTest, ATimestampKeepsItsDayBeforeAndAfter30December1899) {
    tables.clients = {clientWith("Cliente", "Rua", "Centro")};
    tables.write(source.path());
    writeStampedInvoices(source.path(), {
                                            -0.5,                      // 29/12/1899 12:00
                                            -1.0,                      // 29/12/1899 00:00
                                            -1.0 - kSecond,            // 28/12/1899 23:59:59
                                            0.25,                      // 30/12/1899 06:00
                                            day(2008, 3, 15) + 0.75,   // 15/03/2008 18:00
                                            day(2008, 3, 16) - kSecond // 15/03/2008 23:59:59
                                        });
    const struct {
        const char* name;
        double start;
        double end;
        std::vector<std::string> dates;
    } cases[] = {
        {"dia-29-12-1899", day(1899, 12, 29), day(1899, 12, 29), {"29/12/1899", "29/12/1899"}},
        {"dia-28-12-1899", day(1899, 12, 28), day(1899, 12, 28), {"28/12/1899"}},
        {"dia-30-12-1899", day(1899, 12, 30), day(1899, 12, 30), {"30/12/1899"}},
        {"de-28-a-30-12-1899",
         day(1899, 12, 28),
         day(1899, 12, 30),
         {"29/12/1899", "29/12/1899", "28/12/1899", "30/12/1899"}},
        {"ate-15-03-2008", day(2008, 3, 1), day(2008, 3, 15), {"15/03/2008", "15/03/2008"}},
        {"desde-16-03-2008", day(2008, 3, 16), day(2008, 3, 31), {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> dates;
        for (const std::string& line : exportedLines(c.start, c.end)) {
            dates.push_back(slice(line, kDate));
        }
        EXPECT_EQ(dates, c.dates) << c.name;
    }
}

} // namespace
} // namespace kalvian
