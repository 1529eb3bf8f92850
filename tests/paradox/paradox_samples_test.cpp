// The reader on real tables made by Paradox/BDE (see tests/data/paradox-samples/SOURCES.md): every file is
// opened, and the values SOURCES.md documents are checked.
#include "paradox/field_decoders.h"
#include "paradox/table.h"
#include "paradox_test_support.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace kalvian::paradox {
namespace {

using test::errorOf;
using test::readRows;
using test::samplePath;

std::string fieldList(const Table& table) {
    std::string list;
    for (const FieldInfo& field : table.fields()) {
        list += (list.empty() ? "" : ",") + field.name + ":" + std::to_string(static_cast<int>(field.type)) +
                "(" + std::to_string(field.size) + ")";
    }
    return list;
}

// ---- every readable table: header facts, and a full scan that delivers the declared count ----

struct HeaderCase {
    const char* file;
    int versionCode;
    int codePage;
    std::uint32_t records;
    int blockSize;
    const char* fields; // name:type code(record bytes), Windows-1252
};

class SampleHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(SampleHeaderTest, OpensAndScansEveryDeclaredRecord) {
    const HeaderCase& c = GetParam();
    const Table table = Table::open(samplePath(c.file).string());
    EXPECT_EQ(table.versionCode(), c.versionCode);
    EXPECT_EQ(table.codePage(), c.codePage);
    EXPECT_EQ(table.recordCount(), c.records);
    EXPECT_EQ(table.blockSize(), c.blockSize);
    // The two of*.db tables have Cyrillic field names; the code page tests check them.
    if (c.fields != nullptr) {
        EXPECT_EQ(fieldList(table), c.fields);
    }
    std::uint32_t scanned = 0;
    table.scan([&](std::span<const std::byte> record) {
        EXPECT_EQ(record.size(), static_cast<std::size_t>(table.recordSize()));
        ++scanned;
    });
    EXPECT_EQ(scanned, c.records);
}

constexpr const char* kTypSammlungFields =
    "Alpha:1(30),Numerisch:6(8),W\xE4hrung:5(8),Integer kurz:3(2),Integer lang:4(4),BCD:23(17),Datum:2(4),"
    "Zeit:20(4),Datum/Zeit:21(8),Memo:12(11),Logisch:9(1),Z\xE4hler:22(4),Bin\xE4r:13(10),Bytes:24(255)";

INSTANTIATE_TEST_SUITE_P(
    RealTables, SampleHeaderTest,
    ::testing::Values(
        HeaderCase{"leonhad-paradoxdriver/areas/AREACODE.DB", 3, 850, 239, 1024,
                   "1:1(3),AC:1(3),Country:1(20),State:1(21),St:1(4),Desc:1(55)"},
        HeaderCase{"leonhad-paradoxdriver/fields/date35.db", 4, 850, 3, 2048, "DATE:2(4)"},
        HeaderCase{"celebithil-Rparadox/inst/extdata/of.db", 4, 850, 2197, 2048, nullptr},
        HeaderCase{"leonhad-paradoxdriver/fields/date4.db", 9, 850, 3, 2048, "DATE:2(4)"},
        HeaderCase{"leonhad-paradoxdriver/db/ROMAN8.db", 9, 850, 1, 2048, "A:1(20)"},
        HeaderCase{"leonhad-paradoxdriver/areas/ZIPCODES.DB", 9, 437, 43185, 2048,
                   "Zip:1(5),State:1(2),City:1(25)"},
        HeaderCase{"celebithil-Rparadox/inst/extdata/of_cp866.db", 9, 866, 2197, 2048, nullptr},
        HeaderCase{"leonhad-paradoxdriver/fields/date5.db", 11, 850, 3, 2048, "DATE:2(4),TIME:20(4)"},
        HeaderCase{"leonhad-paradoxdriver/fields/bcd.db", 11, 850, 3, 2048, "A:23(17),B:23(17),C:23(17)"},
        HeaderCase{"leonhad-paradoxdriver/fields/bytes.db", 11, 850, 1, 2048, "BYTES:24(255)"},
        HeaderCase{"leonhad-paradoxdriver/fields/logical.db", 11, 1252, 4, 2048, "BOOL:9(1)"},
        HeaderCase{"leonhad-paradoxdriver/fields/long.db", 11, 850, 3, 2048, "Id:22(4),LONG:4(4)"},
        HeaderCase{"leonhad-paradoxdriver/fields/time.db", 11, 1252, 3, 2048, "Time:20(4)"},
        HeaderCase{"leonhad-paradoxdriver/fields/timestamp.db", 11, 850, 2, 2048, "Timestamp:21(8)"},
        HeaderCase{"leonhad-paradoxdriver/fields/memo.db", 11, 850, 2, 2048, "Id:22(4),MEMO:12(250)"},
        HeaderCase{"leonhad-paradoxdriver/fields/fmemo.db", 11, 850, 2, 2048, "Id:22(4),FMEMO:14(10)"},
        HeaderCase{"leonhad-paradoxdriver/db/GENERAL.DB", 11, 936, 3, 2048, "ID:4(4),NAME:1(25),MONEYS:5(8)"},
        HeaderCase{"leonhad-paradoxdriver/db/DECIMAL.DB", 12, 1252, 9, 2048, "DECIMAL:6(8)"},
        HeaderCase{"leonhad-paradoxdriver/db/NOTE1251.DB", 12, 936, 2, 2048, "Id:22(4),Note:12(60)"},
        HeaderCase{"leonhad-paradoxdriver/geog/tblAC.DB", 12, 437, 220, 16384,
                   "AreaCode:1(6),State:1(7),Effective:2(4),AreasCovered:1(250)"},
        HeaderCase{"celebithil-Rparadox/inst/extdata/TypSammlung.DB", 12, 1252, 5, 2048, kTypSammlungFields},
        HeaderCase{"celebithil-Rparadox/inst/extdata/empty.db", 12, 1252, 0, 2048,
                   "ID:4(4),ScientificName:1(30),CommonName:1(30),Order:1(20),Genus:1(20),Notes:12(20),"
                   "Picture:16(11)"}),
    kalvian::test::ByCaseFile{});

// ---- values documented for each table, shown as displayField shows them ----

struct RowsCase {
    const char* name;
    const char* file;
    std::vector<std::string> rows;
};

class SampleRowsTest : public ::testing::TestWithParam<RowsCase> {};

TEST_P(SampleRowsTest, ReadsTheDocumentedValues) {
    EXPECT_EQ(readRows(Table::open(samplePath(GetParam().file).string())), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    RealTables, SampleRowsTest,
    ::testing::Values(
        RowsCase{
            "date35", "leonhad-paradoxdriver/fields/date35.db", {"01/01/2018", "01/02/2018", "02/01/2018"}},
        RowsCase{
            "date4", "leonhad-paradoxdriver/fields/date4.db", {"01/01/2018", "01/02/2018", "02/01/2018"}},
        RowsCase{"date5",
                 "leonhad-paradoxdriver/fields/date5.db",
                 {"01/01/2018|10:00:00", "01/02/2018|10:30:00", "02/01/2018|09:25:25"}},
        RowsCase{"decimal",
                 "leonhad-paradoxdriver/db/DECIMAL.DB",
                 {"-200", "-20", "-1", "1", "20", "200", "200.36", "1.37", "-1.387"}},
        RowsCase{"long_null", "leonhad-paradoxdriver/fields/long.db", {"1|1", "2|2", "3|NULL"}},
        RowsCase{"time_null", "leonhad-paradoxdriver/fields/time.db", {"01:00:01", "NULL", "03:00:03"}},
        RowsCase{
            "timestamp_null", "leonhad-paradoxdriver/fields/timestamp.db", {"NULL", "01/02/2020 01:00:01"}},
        RowsCase{"logical", "leonhad-paradoxdriver/fields/logical.db", {"T", "F", "T", "T"}},
        // C holds the digits of the double 0.123 followed by bytes that are not digits.
        RowsCase{"bcd",
                 "leonhad-paradoxdriver/fields/bcd.db",
                 {"1.23|1|0.122999999999999998", "-1.23|-1|-0.122999999999999998",
                  "0|NULL|0.9999000000000000118"}},
        RowsCase{"bytes", "leonhad-paradoxdriver/fields/bytes.db", {"310032003300" + std::string(498, '0')}},
        RowsCase{"general_cp936",
                 "leonhad-paradoxdriver/db/GENERAL.DB",
                 {"1|Mari|100", "2|Katty|150", "333333333|Elizabet|75"}},
        RowsCase{"memo_without_mb", "leonhad-paradoxdriver/fields/memo.db", {"1|(memo)", "2|(memo)"}},
        RowsCase{"fmemo_without_mb", "leonhad-paradoxdriver/fields/fmemo.db", {"1|(memo)", "2|(memo)"}},
        RowsCase{"note1251_without_mb", "leonhad-paradoxdriver/db/NOTE1251.DB", {"1|(memo)", "2|(memo)"}},
        RowsCase{"empty_with_mb", "celebithil-Rparadox/inst/extdata/empty.db", {}},
        // Zero values, NULLs of every type, a date before year 1 (raw -366), umlauts in Windows-1252.
        RowsCase{"typsammlung",
                 "celebithil-Rparadox/inst/extdata/TypSammlung.DB",
                 {"AAA Irgendein Text|40|40|40|40|40|01/01/1970|00:00:00|01/01/1970 "
                  "11:00:00|(memo)|NULL|1|(memo)|NULL",
                  "Erste Zeile|23|NULL|NULL|NULL|NULL|NULL|NULL|NULL|(memo)|F|3|(memo)|NULL",
                  "F\xFCnfter Datensatz|1.34|13.002|NULL|NULL|13.123457|(dia -693960)|01:10:12|(dia -693960) "
                  "01:00:00|(memo)|NULL|5|(memo)|NULL",
                  "Null-Werte|0|0|0|0|0|NULL|NULL|NULL|(memo)|NULL|4|(memo)|NULL",
                  "Zweite Zeile|-40|-40|-40|-40|-40|09/09/1999|11:11:11|10/06/2003 "
                  "11:11:11|(memo)|T|2|(memo)|NULL"}}),
    kalvian::test::ByCaseName{});

// ---- typed decoders on real stored bytes ----

std::vector<std::vector<std::byte>> records(const Table& table) {
    std::vector<std::vector<std::byte>> all;
    table.scan([&](std::span<const std::byte> record) { all.emplace_back(record.begin(), record.end()); });
    return all;
}

TEST(SampleDecoders, NumbersAreTheExactDoubles) {
    const Table table = Table::open(samplePath("leonhad-paradoxdriver/db/DECIMAL.DB").string());
    const std::vector<double> expected = {-200, -20, -1, 1, 20, 200, 200.36, 1.37, -1.387};
    const auto all = records(table);
    ASSERT_EQ(all.size(), expected.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(number(all[i], table.fields()[0]), expected[i]) << i;
        // The stored form is what encodeNumberKey gives, so a query can compare bytes.
        const auto key = encodeNumberKey(expected[i]);
        EXPECT_TRUE(std::equal(key.begin(), key.end(), fieldBytes(all[i], table.fields()[0]).begin())) << i;
    }
}

TEST(SampleDecoders, DatesAreSerialsAndMatchTheirKeys) {
    // 2018-01-01, 2018-02-01, 2018-01-02 as date serials.
    const std::vector<double> expected = {43101, 43132, 43102};
    for (const char* file :
         {"leonhad-paradoxdriver/fields/date35.db", "leonhad-paradoxdriver/fields/date4.db",
          "leonhad-paradoxdriver/fields/date5.db"}) {
        const Table table = Table::open(samplePath(file).string());
        const FieldInfo& field = table.field("date");
        const auto all = records(table);
        ASSERT_EQ(all.size(), expected.size()) << file;
        for (std::size_t i = 0; i < all.size(); ++i) {
            EXPECT_EQ(date(all[i], field), expected[i]) << file << " " << i;
            const auto key = encodeDateKey(expected[i]);
            EXPECT_TRUE(std::equal(key.begin(), key.end(), fieldBytes(all[i], field).begin()))
                << file << " " << i;
        }
    }
}

TEST(SampleDecoders, NullsAreNothingNotExtremeValues) {
    const auto longRows = records(Table::open(samplePath("leonhad-paradoxdriver/fields/long.db").string()));
    const Table longTable = Table::open(samplePath("leonhad-paradoxdriver/fields/long.db").string());
    EXPECT_EQ(integer(longRows[2], longTable.field("LONG")), std::nullopt);
    EXPECT_EQ(integer(longRows[2], longTable.field("id")), 3);

    const Table timeTable = Table::open(samplePath("leonhad-paradoxdriver/fields/time.db").string());
    const auto timeRows = records(timeTable);
    EXPECT_EQ(timeOfDay(timeRows[0], timeTable.fields()[0]), 3601000);
    EXPECT_EQ(timeOfDay(timeRows[1], timeTable.fields()[0]), std::nullopt);

    const Table stampTable = Table::open(samplePath("leonhad-paradoxdriver/fields/timestamp.db").string());
    const auto stampRows = records(stampTable);
    EXPECT_EQ(timestamp(stampRows[0], stampTable.fields()[0]), std::nullopt);
    // 2020-02-01 01:00:01
    EXPECT_NEAR(*timestamp(stampRows[1], stampTable.fields()[0]), 43862.0 + 3601.0 / 86400.0, 1e-9);

    const Table bcdTable = Table::open(samplePath("leonhad-paradoxdriver/fields/bcd.db").string());
    // The descriptors give the decimals: BCD(2), BCD(0), BCD(32).
    EXPECT_EQ(bcdTable.field("A").decimals, 2);
    EXPECT_EQ(bcdTable.field("B").decimals, 0);
    EXPECT_EQ(bcdTable.field("C").decimals, 32);
    const auto bcdRows = records(bcdTable);
    EXPECT_EQ(bcd(bcdRows[2], bcdTable.field("B")), std::nullopt);
    EXPECT_EQ(bcd(bcdRows[0], bcdTable.field("C")), 0.123);
    EXPECT_EQ(bcd(bcdRows[1], bcdTable.field("A")), -1.23);
}

TEST(SampleDecoders, TblAcWith16KBlocksHasNullAndRealDates) {
    const Table table = Table::open(samplePath("leonhad-paradoxdriver/geog/tblAC.DB").string());
    int nulls = 0;
    int dated = 0;
    table.scan([&](std::span<const std::byte> record) {
        const std::optional<double> effective = date(record, table.field("Effective"));
        if (!effective) {
            ++nulls;
            return;
        }
        ++dated;
        // Area-code changes of the 1990s and 2000s: 1990-01-01 .. 2010-12-31.
        EXPECT_GE(*effective, 32874);
        EXPECT_LE(*effective, 40543);
    });
    EXPECT_GT(nulls, 0);
    EXPECT_GT(dated, 0);
    EXPECT_EQ(nulls + dated, 220);
}

// ---- code pages ----

TEST(SampleCodePages, ZipcodesInCp437EndsHalfWayThroughItsLastBlock) {
    const std::filesystem::path path = samplePath("leonhad-paradoxdriver/areas/ZIPCODES.DB");
    const Table table = Table::open(path.string());
    EXPECT_EQ((std::filesystem::file_size(path) - 2048) % static_cast<std::uintmax_t>(table.blockSize()),
              1024u);
    const std::vector<std::string> rows = readRows(table);
    ASSERT_EQ(rows.size(), 43185u);
    EXPECT_EQ(rows.front(), "00401|NY|Pleasantville");
    EXPECT_EQ(rows.back(), "99950|AK|Ketchikan");
}

TEST(SampleCodePages, Cp866TextWithoutAWindows1252FormBecomesQuestionMarks) {
    const Table cp866 = Table::open(samplePath("celebithil-Rparadox/inst/extdata/of_cp866.db").string());
    // Level 3.5: no code page in the header, read as code page 850.
    const Table level35 = Table::open(samplePath("celebithil-Rparadox/inst/extdata/of.db").string());
    ASSERT_EQ(cp866.fields().size(), 19u);
    // "Норма износа %": Cyrillic letters have no Windows-1252 form, the space and "%" keep theirs.
    EXPECT_EQ(cp866.fields()[5].name, "????? ?????? %");
    const auto cyrillic = records(cp866);
    const auto dos = records(level35);
    ASSERT_EQ(cyrillic.size(), dos.size());
    for (std::size_t row = 0; row < cyrillic.size(); ++row) {
        for (const FieldInfo& field : cp866.fields()) {
            if (field.type != FieldType::Alpha) {
                // Same data in both files: the same stored bytes.
                EXPECT_TRUE(
                    std::ranges::equal(fieldBytes(cyrillic[row], field), fieldBytes(dos[row], field)));
                continue;
            }
            const std::string a = cp866.text(cyrillic[row], field).value_or("");
            const std::string b = level35.text(dos[row], field).value_or("");
            ASSERT_EQ(a.size(), b.size());
            for (std::size_t i = 0; i < a.size(); ++i) {
                // ASCII is the same in both code pages; everything else is "?" from cp866.
                const bool ascii = static_cast<unsigned char>(b[i]) < 0x80;
                EXPECT_EQ(a[i], ascii ? b[i] : '?') << "row " << row << " field " << field.offset;
            }
        }
    }
    EXPECT_EQ(cp866.text(cyrillic[0], cp866.fields()[0]), "001370009");
}

// ---- tables refused ----

struct RefusedCase {
    const char* file;
    const char* messageStart; // followed by the path
    const char* messageEnd;
};

class SampleRefusedTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(SampleRefusedTest, IsRefusedWithAMessageNamingTheFile) {
    const std::string path = samplePath(GetParam().file).string();
    EXPECT_EQ(errorOf([&] { Table::open(path); }),
              std::string(GetParam().messageStart) + path + GetParam().messageEnd);
}

INSTANTIATE_TEST_SUITE_P(
    RealTables, SampleRefusedTest,
    ::testing::Values(RefusedCase{"leonhad-paradoxdriver/encrypt/encrypted.db",
                                  "Tabela criptografada não suportada: ", ""},
                      RefusedCase{"leonhad-paradoxdriver/encrypt/encrypted35.db",
                                  "Tabela criptografada não suportada: ", ""},
                      RefusedCase{"leonhad-paradoxdriver/encrypt/encryptedmemo.db",
                                  "Tabela criptografada não suportada: ", ""},
                      RefusedCase{"leonhad-paradoxdriver/fields/long.px",
                                  "Arquivo não é uma tabela de dados Paradox: ", " (tipo de arquivo 1)"},
                      RefusedCase{"leonhad-paradoxdriver/db/NOTE1251.PX",
                                  "Arquivo não é uma tabela de dados Paradox: ", " (tipo de arquivo 1)"},
                      // A memo file is no table: its header does not survive the checks.
                      RefusedCase{"leonhad-paradoxdriver/fields/memo.mb",
                                  "Tabela danificada: ", " (versão desconhecida 16)"}),
    kalvian::test::ByCaseFile{});

} // namespace
} // namespace kalvian::paradox
