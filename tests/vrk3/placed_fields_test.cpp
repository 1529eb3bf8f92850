// A stored record places a layout's fields straight from its bytes; the result must be what the fill rule
// gives for the text asText reads of each field, whatever the stored value and the code page.
#include "export_format/client_block_layout.h"
#include "paradox/table.h"
#include "support/temp_folder.h"
#include "vrk3/row_record.h"
#include "vrk3_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kalvian {
namespace {

using namespace std::string_literals;
using paradox::ClientRow;

// Reads a record by name only, so that placeFields takes the rule's own way.
class ByName : public SourceRecord {
public:
    explicit ByName(const SourceRecord& record) : m_record(record) {}
    std::string asText(std::string_view field) const override { return m_record.asText(field); }
    double asNumber(std::string_view field) const override { return m_record.asNumber(field); }
    std::int32_t asInteger(std::string_view field) const override { return m_record.asInteger(field); }
    double asDate(std::string_view field) const override { return m_record.asDate(field); }

private:
    const SourceRecord& m_record;
};

ClientRow client(std::string nome, std::string rua, paradox::WriterValue numero,
                 paradox::WriterValue insmun) {
    ClientRow row;
    row.nome = std::move(nome);
    row.rua = std::move(rua);
    row.numero = std::move(numero);
    row.insmun = std::move(insmun);
    row.cep = std::string(" 013101 ");
    return row;
}

// Accented letters on both sides of each eight-byte word, and every width's edge.
std::vector<ClientRow> clients() {
    const std::string seventy = "Jo\xE3o \xC1lvares da Concei\xE7\xE3o Ara\xFAjo Gon\xE7"
                                "alves de S\xE1 Peixoto e Magalh\xE3"
                                "es L";
    std::vector<ClientRow> rows = {
        client("", "", std::monostate{}, std::monostate{}),
        client(" \x01 Jo\xE3o da Silva\t ", " Rua ", std::int32_t{-5}, 0.0),
        client(seventy, seventy.substr(0, 40), std::int32_t{123456}, 123.456),
        client(seventy.substr(1, 64), seventy.substr(7, 33), std::int32_t{99999}, -7.0),
        client("\xC7\xC3\xD5\xC9\xCD\xD3\xDA\xC2\xCA\xD4\xE0\xE7", "AB\0CD"s, std::int32_t{0}, 1e15),
        client("12345678\xE7", "\xE7", std::int32_t{7}, 12345678901234.0),
        client("1234567\xE7", "\xE7 x", std::monostate{}, -0.0),
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].codcli = static_cast<std::int32_t>(i + 1);
        rows[i].bairro = std::get<std::string>(rows[i].rua).substr(0, 30);
        rows[i].comple = std::get<std::string>(rows[i].nome).substr(0, 15);
    }
    return rows;
}

// A second layout of the same fields in other widths, read in turns with the first, so that the records
// find each layout's columns again.
constexpr FixedWidthField kOther[] = {
    {"CEP", 10, '*', Justify::Left},     {"NOME", 9, '.', Justify::Right}, {"NUMERO", 3, ' ', Justify::Left},
    {"INSMUN", 20, '0', Justify::Right}, {"RUA", 1, ' ', Justify::Right},
};

TEST(PlacedFields, AsTheRulePlacesTheTextOfEachField) {
    const FixedWidthLayout block(kClientBlockFields);
    const FixedWidthLayout other(kOther);
    for (const int codePage : {850, 860, 1252}) {
        test::TempFolder folder;
        paradox::Vrk3Tables tables;
        tables.codePage = codePage;
        tables.clients = clients();
        tables.write(folder.path());
        const paradox::Table table = paradox::Table::open((folder.path() / "DSCLI.DB").string());
        const paradox::RecordSet rows = table.select([](std::span<const std::byte>) { return true; });
        RowRecord record(table);
        for (const std::uint32_t index : rows.chainOrder) {
            record.setRecord(rows.record(index));
            for (const FixedWidthLayout* layout : {&block, &other}) {
                std::string placed(layout->fill().size(), '\0');
                std::string expected(layout->fill().size(), '\0');
                record.placeFields(*layout, placed);
                ByName(record).placeFields(*layout, expected);
                EXPECT_EQ(placed, expected) << "página " << codePage << ", cliente " << index;
            }
        }
    }
}

} // namespace
} // namespace kalvian
