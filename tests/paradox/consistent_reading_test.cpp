// A table read while another program writes it: read again, after a pause, until one reading sees one
// moment of it, and refused with the change only after the last reading.
#include "numbered_rows.h"
#include "paradox/consistent_reading.h"
#include "paradox_test_support.h"
#include "support/case_names.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <utility>

namespace kalvian::paradox {
namespace {

namespace fs = std::filesystem;
using kalvian::test::TempFolder;
using test::bumpChangeCounter;
using test::errorOf;
using test::firstCodes;
using test::numberedRows;
using test::selectedCodesOf;
using test::writeBytes;

struct RereadCase {
    const char* name;
    int changedReadings; // the first readings during which the table is edited
    int readings;        // how many readings there are in all
    bool refused;
};

class RereadingTest : public ::testing::TestWithParam<RereadCase> {};

TEST_P(RereadingTest, ReadsAgainWhileTheTableChangesAndRefusesOnlyAfterTheLastReading) {
    const RereadCase& c = GetParam();
    const TempFolder dir;
    const fs::path path = dir.path() / "DSEMI.DB";
    writeBytes(path, numberedRows().build({true, 3, 2}));
    const Rereading rule{4, std::chrono::milliseconds(40)};
    int readings = 0;
    std::vector<std::int32_t> codes;
    const auto started = std::chrono::steady_clock::now();
    const std::string error = errorOf([&] {
        const Table table = readAtOneMoment(
            path.string(),
            [&](const Table& opened) {
                bool first = true;
                const bool edited = readings++ < c.changedReadings;
                opened.select([&](std::span<const std::byte>) {
                    if (std::exchange(first, false) && edited) {
                        bumpChangeCounter(path);
                    }
                    return true;
                });
            },
            rule);
        codes = selectedCodesOf(table);
    });
    const auto took = std::chrono::steady_clock::now() - started;

    EXPECT_EQ(readings, c.readings);
    EXPECT_GE(took, (c.readings - 1) * rule.pause);
    if (c.refused) {
        EXPECT_EQ(error,
                  "Não foi possível ler a tabela: " + path.string() + " (o arquivo mudou durante a leitura)");
    } else {
        EXPECT_EQ(error, "");
        EXPECT_EQ(codes, firstCodes(test::kRows));
    }
}

INSTANTIATE_TEST_SUITE_P(Changes, RereadingTest,
                         ::testing::Values(RereadCase{"sem-mudanca", 0, 1, false},
                                           RereadCase{"muda-na-primeira-leitura", 1, 2, false},
                                           RereadCase{"muda-em-tres-leituras", 3, 4, false},
                                           RereadCase{"muda-em-todas-as-leituras", 4, 4, true}),
                         kalvian::test::ByCaseName{});

TEST(Rereading, AnotherFailureIsNotReadAgain) {
    const TempFolder dir;
    const fs::path path = dir.path() / "DSEMI.DB";
    writeBytes(path, numberedRows(10).build());
    int readings = 0;
    EXPECT_EQ(errorOf([&] {
                  readAtOneMoment(path.string(), [&](const Table& table) {
                      ++readings;
                      table.field("INSMUN");
                  });
              }),
              "Campo INSMUN não existe na tabela " + path.string());
    EXPECT_EQ(readings, 1);
}

} // namespace
} // namespace kalvian::paradox
