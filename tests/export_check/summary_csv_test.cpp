// The run's CSV summary, as a Brazilian spreadsheet reads it.
#include "common/error.h"
#include "export_check/export_file_reader.h"
#include "export_check/summary_csv.h"
#include "export_format/written_lines.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kalvian {
namespace {

using test::Invoice;
using test::readFile;
using test::TempFolder;
using test::writeFile;

const std::string kHeaderRow =
    "\xEF\xBB\xBF"
    "inscricao;arquivo;emitidas;emitidas_x;recebidas;valor_emitidas;servicos_emitidas;"
    "valor_recebidas;servicos_recebidas;imposto_retido;sem_cliente\r\n";

ExportTotals totalsOf(const std::vector<std::string>& lines) {
    ExportTotals totals;
    for (const std::string& line : lines) {
        totals.add(*readExportRecord(line).record);
    }
    return totals;
}

ExportTotals someTotals() {
    Invoice large;
    large.valnf = 1234567.891; // 1234567.89 as written
    large.valser = -1e12;
    Invoice missing;
    missing.codcli = 57;
    missing.impret = 1.5e20;
    return totalsOf(
        {test::issuedLine(large), test::issuedLine(test::shortInvoice()), test::receivedLine(missing)});
}

std::vector<std::string> names(const std::filesystem::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        found.push_back(entry.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

class SummaryCsvTest : public ::testing::Test {
public:
    std::string path() const { return folder / "resumo.csv"; }

    TempFolder folder;
};

// ---- The bytes of the file

TEST_F(SummaryCsvTest, HeaderAndOneRowPerRegistration) {
    SummaryCsv csv(path());
    csv.addRow("123", "/saida/VRK3_123.txt", someTotals());
    csv.addRow("456", "/saida/VRK3_456.txt", ExportTotals{});
    EXPECT_TRUE(csv.commit(Placement::New));
    EXPECT_EQ(readFile(path()),
              kHeaderRow + "123;/saida/VRK3_123.txt;2;1;1;1234567,89;-1000000000000,00;1500,50;1000,00;"
                           "150000000000000000000,00;1\r\n"
                           "456;/saida/VRK3_456.txt;0;0;0;0,00;0,00;0,00;0,00;0,00;0\r\n");
}

TEST_F(SummaryCsvTest, TextFieldsQuotedAsRfc4180AndKeptValidUtf8) {
    const struct {
        const char* name;
        std::string text;
        std::string field;
    } cases[] = {
        {"simples", "VRK3_1.txt", "VRK3_1.txt"},
        {"vazio", "", ""},
        {"acentos", "Concei\xC3\xA7\xC3\xA3o", "Concei\xC3\xA7\xC3\xA3o"},
        {"ponto-e-virgula", "a;b", "\"a;b\""},
        {"aspas", "diz \"oi\"", "\"diz \"\"oi\"\"\""},
        {"quebra-de-linha", "a\r\nb", "\"a\r\nb\""},
        {"virgula-fica", "a,b", "a,b"},
        {"byte-que-nao-e-utf8",
         "sa\xEF"
         "da",
         "sa\xEF\xBF\xBD"
         "da"},
        {"utf8-longo-demais", "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        SummaryCsv csv(path());
        csv.addRow(c.text, c.text, ExportTotals{});
        csv.commit(Placement::Replace);
        EXPECT_EQ(readFile(path()),
                  kHeaderRow + c.field + ";" + c.field + ";0;0;0;0,00;0,00;0,00;0,00;0,00;0\r\n")
            << c.name;
    }
}

// ---- Written as the export file is

TEST_F(SummaryCsvTest, TargetReplacedOnlyWhenComplete) {
    writeFile(path(), "antigo");
    {
        SummaryCsv csv(path());
        csv.addRow("123", "x.txt", someTotals());
        EXPECT_EQ(readFile(path()), "antigo");
    }
    EXPECT_EQ(readFile(path()), "antigo");
    EXPECT_EQ(names(folder.path()), std::vector<std::string>{"resumo.csv"});

    SummaryCsv csv(path());
    EXPECT_FALSE(csv.commit(Placement::New));
    EXPECT_EQ(readFile(path()), "antigo");
    EXPECT_TRUE(csv.commit(Placement::Replace));
    EXPECT_EQ(readFile(path()), kHeaderRow);
    EXPECT_EQ(names(folder.path()), std::vector<std::string>{"resumo.csv"});
}

TEST_F(SummaryCsvTest, FolderThatIsNotThere) {
    try {
        SummaryCsv csv(folder / "falta/resumo.csv");
        FAIL() << "criou o resumo numa pasta que não existe";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Invalid filename");
    }
}

} // namespace
} // namespace kalvian
