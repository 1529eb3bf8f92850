#include "common/date_serial.h"
#include "common/error.h"
#include "support/memory_records.h"

#include <gtest/gtest.h>

#include <functional>

namespace kalvian {
namespace {

TEST(MemoryRecord, ReadsEachKindAndNull) {
    const MemoryRecord record{{"TEXTO", std::string("abc")},  {"NUMERO", 12345678901.0},
                              {"INTEIRO", std::int32_t{-42}}, {"DATA", DateSerial{toSerial({2008, 2, 1})}},
                              {"NULO", FieldValue{}},         {"FRACAO", 0.5}};
    EXPECT_EQ(record.asText("texto"), "abc");
    EXPECT_EQ(record.asText("NUMERO"), "12345678901");
    EXPECT_EQ(record.asText("FRACAO"), "0.5");
    EXPECT_EQ(record.asText("INTEIRO"), "-42");
    EXPECT_EQ(record.asText("DATA"), "01/02/2008");
    EXPECT_EQ(record.asText("NULO"), "");
    EXPECT_EQ(record.asNumber("NULO"), 0.0);
    EXPECT_EQ(record.asInteger("NULO"), 0);
    EXPECT_EQ(record.asDate("NULO"), kBlankDate);
    EXPECT_EQ(record.asNumber("INTEIRO"), -42.0);
    EXPECT_EQ(record.asInteger("FRACAO"), 1); // rounded half away from zero
    EXPECT_EQ(record.asDate("DATA"), toSerial({2008, 2, 1}));
}

TEST(MemoryRecord, WrongKindOrNameIsAnError) {
    const MemoryRecord record{{"TEXTO", std::string("abc")}, {"GRANDE", 1e12}};
    const struct {
        const char* name;
        std::function<void()> read;
        const char* message;
    } cases[] = {
        {"nome-desconhecido", [&] { record.asText("OUTRO"); }, "Field 'OUTRO' not found"},
        {"texto-como-numero", [&] { record.asNumber("TEXTO"); }, "Field 'TEXTO' cannot be read as a number"},
        {"texto-como-data", [&] { record.asDate("TEXTO"); }, "Field 'TEXTO' cannot be read as a date"},
        {"numero-grande-como-inteiro", [&] { record.asInteger("GRANDE"); },
         "Field 'GRANDE' cannot be read as an integer"},
    };
    for (const auto& c : cases) {
        try {
            c.read();
            ADD_FAILURE() << c.name << ": no error";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.message) << c.name;
        }
    }
}

} // namespace
} // namespace kalvian
