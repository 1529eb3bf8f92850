// Decoders and stored-form encoders of field values, on records built byte by byte.
#include "paradox/field_decoders.h"
#include "paradox_test_support.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace kalvian::paradox {
namespace {

using test::errorOf;

template <std::size_t N> std::vector<std::byte> recordOf(const std::array<std::byte, N>& key) {
    return std::vector<std::byte>(key.begin(), key.end());
}

std::vector<std::byte> hexBytes(std::string_view hex) {
    std::vector<std::byte> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::byte>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

FieldInfo fieldOf(FieldType type, int size) {
    return {"F", type, size, 0, 0};
}

// ---- stored forms: exact bytes, round trip, and memcmp order ----

TEST(FieldKeys, NumbersRoundTripAndSortAsStored) {
    const std::vector<double> ascending = {-std::numeric_limits<double>::max(),
                                           -1e300,
                                           -200,
                                           -1.387,
                                           -1e-300,
                                           0,
                                           1e-300,
                                           1,
                                           1.37,
                                           200.36,
                                           1e300};
    const FieldInfo field = fieldOf(FieldType::Number, 8);
    for (std::size_t i = 0; i < ascending.size(); ++i) {
        EXPECT_EQ(number(recordOf(encodeNumberKey(ascending[i])), field), ascending[i]);
        if (i > 0) {
            EXPECT_LT(std::memcmp(encodeNumberKey(ascending[i - 1]).data(),
                                  encodeNumberKey(ascending[i]).data(), 8),
                      0)
                << ascending[i];
        }
    }
}

TEST(FieldKeys, IntegersRoundTripAndSortAsStored) {
    const std::vector<std::int32_t> ascending = {
        std::numeric_limits<std::int32_t>::min() + 1, -40, -1, 0, 1, 40,
        std::numeric_limits<std::int32_t>::max()};
    for (std::size_t i = 0; i < ascending.size(); ++i) {
        EXPECT_EQ(integer(recordOf(encodeLongKey(ascending[i])), fieldOf(FieldType::Long, 4)), ascending[i]);
        EXPECT_EQ(integer(recordOf(encodeLongKey(ascending[i])), fieldOf(FieldType::AutoInc, 4)),
                  ascending[i]);
        if (i > 0) {
            EXPECT_LT(
                std::memcmp(encodeLongKey(ascending[i - 1]).data(), encodeLongKey(ascending[i]).data(), 4),
                0);
        }
    }
    for (const std::int16_t value :
         {std::int16_t{-32767}, std::int16_t{-1}, std::int16_t{0}, std::int16_t{32767}}) {
        EXPECT_EQ(integer(recordOf(encodeShortKey(value)), fieldOf(FieldType::Short, 2)), value);
    }
}

struct StoredCase {
    const char* name;
    std::vector<std::byte> key;
    const char* hex;
};

class StoredFormTest : public ::testing::TestWithParam<StoredCase> {};

TEST_P(StoredFormTest, IsTheParadoxByteForm) {
    EXPECT_EQ(GetParam().key, hexBytes(GetParam().hex));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, StoredFormTest,
    ::testing::Values(StoredCase{"number_minus_200", recordOf(encodeNumberKey(-200)), "3F96FFFFFFFFFFFF"},
                      StoredCase{"number_1", recordOf(encodeNumberKey(1)), "BFF0000000000000"},
                      StoredCase{"number_0", recordOf(encodeNumberKey(0)), "8000000000000000"},
                      StoredCase{"long_1", recordOf(encodeLongKey(1)), "80000001"},
                      StoredCase{"long_minus_1", recordOf(encodeLongKey(-1)), "7FFFFFFF"},
                      StoredCase{"short_minus_40", recordOf(encodeShortKey(-40)), "7FD8"},
                      // 2018-01-01 is Paradox day 736695.
                      StoredCase{"date_2018", recordOf(encodeDateKey(43101)), "800B3DB7"},
                      // The time of day in a serial does not change the day.
                      StoredCase{"date_with_time", recordOf(encodeDateKey(43101.99)), "800B3DB7"},
                      StoredCase{"time_01_00_01", recordOf(encodeTimeKey(3601000)), "8036F268"},
                      StoredCase{"logical_false", recordOf(encodeLogicalKey(false)), "80"},
                      StoredCase{"logical_true", recordOf(encodeLogicalKey(true)), "81"}),
    kalvian::test::ByCaseName{});

TEST(FieldKeys, TimestampKeepsTheMillisecond) {
    const double serial = 43862.0 + 3601.0 / 86400.0; // 2020-02-01 01:00:01
    EXPECT_NEAR(*timestamp(recordOf(encodeTimestampKey(serial)), fieldOf(FieldType::Timestamp, 8)), serial,
                1e-9);
}

// ---- decoders of hand-made bytes ----

struct DecodeCase {
    const char* name;
    FieldType type;
    int size;
    const char* hex;
    const char* text; // bcdText, or "T"/"F" for logical; nullptr for NULL
};

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, GivesTheValueOrNull) {
    const DecodeCase& c = GetParam();
    const std::vector<std::byte> record = hexBytes(c.hex);
    const FieldInfo field = fieldOf(c.type, c.size);
    std::optional<std::string> got;
    if (c.type == FieldType::Bcd) {
        got = bcdText(record, field);
    } else {
        const std::optional<bool> value = logical(record, field);
        got = value ? std::optional<std::string>(*value ? "T" : "F") : std::nullopt;
    }
    EXPECT_EQ(got, c.text ? std::optional<std::string>(c.text) : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DecodeTest,
    ::testing::Values(
        DecodeCase{"bcd_1_23", FieldType::Bcd, 17, "C200000000000000000000000000000123", "1.23"},
        DecodeCase{"bcd_minus_1_23", FieldType::Bcd, 17, "42FFFFFFFFFFFFFFFFFFFFFFFFFFFFFEDC", "-1.23"},
        DecodeCase{"bcd_all_zero_null", FieldType::Bcd, 17, "0000000000000000000000000000000000", nullptr},
        DecodeCase{"bcd_null_with_decimals", FieldType::Bcd, 17, "0600000000000000000000000000000000",
                   nullptr},
        DecodeCase{"bcd_zero", FieldType::Bcd, 17, "C200000000000000000000000000000000", "0"},
        DecodeCase{"bcd_32_decimals", FieldType::Bcd, 17, "E050000000000000000000000000000000", "0.5"},
        DecodeCase{"bcd_noise_after_digits", FieldType::Bcd, 17, "C0000000000000000000000000000012AB",
                   "1200"},
        DecodeCase{"bcd_decimals_over_32", FieldType::Bcd, 17, "FF50000000000000000000000000000000", "0.5"},
        DecodeCase{"logical_true", FieldType::Logical, 1, "81", "T"},
        DecodeCase{"logical_false", FieldType::Logical, 1, "80", "F"},
        DecodeCase{"logical_null", FieldType::Logical, 1, "00", nullptr}),
    kalvian::test::ByCaseName{});

TEST(FieldDecoders, AllZeroIsNullForEveryType) {
    const std::vector<std::byte> zeros(17);
    EXPECT_EQ(number(zeros, fieldOf(FieldType::Currency, 8)), std::nullopt);
    EXPECT_EQ(integer(zeros, fieldOf(FieldType::Short, 2)), std::nullopt);
    EXPECT_EQ(date(zeros, fieldOf(FieldType::Date, 4)), std::nullopt);
    EXPECT_EQ(timeOfDay(zeros, fieldOf(FieldType::Time, 4)), std::nullopt);
    EXPECT_EQ(timestamp(zeros, fieldOf(FieldType::Timestamp, 8)), std::nullopt);
    EXPECT_EQ(bytes(zeros, fieldOf(FieldType::Bytes, 5)), std::nullopt);
    EXPECT_EQ(bcd(zeros, fieldOf(FieldType::Bcd, 17)), std::nullopt);
}

TEST(FieldDecoders, ReadsAtTheFieldsOffset) {
    std::vector<std::byte> record(12);
    const auto key = encodeLongKey(-7);
    std::copy(key.begin(), key.end(), record.begin() + 8);
    EXPECT_EQ(integer(record, {"B", FieldType::Long, 4, 8, 0}), -7);
    EXPECT_EQ(integer(record, {"A", FieldType::Long, 4, 4, 0}), std::nullopt);
}

TEST(FieldDecoders, RefuseAFieldOfAnotherType) {
    const std::vector<std::byte> record(8);
    EXPECT_EQ(errorOf([&] {
                  number(record, {"DATA", FieldType::Date, 4, 0, 0});
              }),
              "Campo DATA lido como um tipo que não é o seu");
    EXPECT_EQ(errorOf([&] {
                  date(record, {"VALNF", FieldType::Number, 8, 0, 0});
              }),
              "Campo VALNF lido como um tipo que não é o seu");
}

} // namespace
} // namespace kalvian::paradox
