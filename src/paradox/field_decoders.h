#pragma once

#include "paradox/field_type.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kalvian::paradox {

// Decoders of a field from a record's raw bytes (as Table::scan delivers them), and encoders of the stored
// form. Paradox stores numbers big-endian with the sign bit set for positive values (all bits inverted for
// negative doubles), so non-NULL stored forms of one type compare with memcmp in the order of their values;
// all-zero bytes are NULL and sort first. Each decoder expects a field of the types it names and raises
// kalvian::Error for any other.

// The field's stored bytes.
inline std::span<const std::byte> fieldBytes(std::span<const std::byte> record, const FieldInfo& field) {
    return record.subspan(static_cast<std::size_t>(field.offset), static_cast<std::size_t>(field.size));
}

// The decoders every line of an export calls are in line, below.
namespace detail {

// Day 1 of Paradox dates is 01/01/0001, the day after serial -693594.
inline constexpr double kSerialOfDayZero = -693594.0;

[[noreturn]] void wrongType(const FieldInfo& field);

template <class... Types> void expectType(const FieldInfo& field, Types... types) {
    if (((field.type != types) && ...)) {
        wrongType(field);
    }
}

// The N bytes of a fixed-size field as one big-endian word, 0 when all are zero (NULL): a loop of fixed
// length becomes one load and a byte swap, so the NULL test of a number, integer or date is one comparison.
template <std::size_t N> std::uint64_t storedWord(std::span<const std::byte> record, const FieldInfo& field) {
    const std::byte* const bytes = record.data() + field.offset;
    std::uint64_t raw = 0;
    for (std::size_t i = 0; i < N; ++i) {
        raw = raw << 8 | static_cast<std::uint64_t>(bytes[i]);
    }
    return raw;
}

// Big-endian with the sign bit flipped, as Short, Long, Date, Time and AutoInc are stored.
template <std::size_t N>
std::optional<std::int64_t> storedInteger(std::span<const std::byte> record, const FieldInfo& field) {
    const std::uint64_t raw = storedWord<N>(record, field);
    if (raw == 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(raw) - (std::int64_t{1} << (N * 8 - 1));
}

// A stored double: big-endian, the sign bit set for positive values and all bits inverted for negative ones.
inline std::optional<double> storedDouble(std::span<const std::byte> record, const FieldInfo& field) {
    std::uint64_t raw = storedWord<8>(record, field);
    if (raw == 0) {
        return std::nullopt;
    }
    constexpr std::uint64_t sign = std::uint64_t{1} << 63;
    raw = (raw & sign) != 0 ? raw ^ sign : ~raw;
    return std::bit_cast<double>(raw);
}

} // namespace detail

// Number and Currency.
inline std::optional<double> number(std::span<const std::byte> record, const FieldInfo& field) {
    detail::expectType(field, FieldType::Number, FieldType::Currency);
    return detail::storedDouble(record, field);
}

// Short, Long and AutoInc.
inline std::optional<std::int32_t> integer(std::span<const std::byte> record, const FieldInfo& field) {
    detail::expectType(field, FieldType::Short, FieldType::Long, FieldType::AutoInc);
    const std::optional<std::int64_t> value = field.type == FieldType::Short
                                                  ? detail::storedInteger<2>(record, field)
                                                  : detail::storedInteger<4>(record, field);
    return value ? std::optional(static_cast<std::int32_t>(*value)) : std::nullopt;
}

// Date, as a date serial (days since 30/12/1899).
inline std::optional<double> date(std::span<const std::byte> record, const FieldInfo& field) {
    detail::expectType(field, FieldType::Date);
    const std::optional<std::int64_t> day = detail::storedInteger<4>(record, field);
    return day ? std::optional(static_cast<double>(*day) + detail::kSerialOfDayZero) : std::nullopt;
}
// Time, as milliseconds since midnight.
std::optional<std::int32_t> timeOfDay(std::span<const std::byte> record, const FieldInfo& field);
// Timestamp, as a date serial whose fraction is the time of day.
std::optional<double> timestamp(std::span<const std::byte> record, const FieldInfo& field);
// Logical.
std::optional<bool> logical(std::span<const std::byte> record, const FieldInfo& field);
// BCD as decimal text ("-12.5", "0.123": no leading zeros, no trailing decimal zeros). Some writers leave
// bytes that are not digits after the significant ones; the value ends at the first such nibble.
std::optional<std::string> bcdText(std::span<const std::byte> record, const FieldInfo& field);
// BCD as the nearest double.
std::optional<double> bcd(std::span<const std::byte> record, const FieldInfo& field);
// Bytes, all of them; nothing when all are zero.
std::optional<std::vector<std::byte>> bytes(std::span<const std::byte> record, const FieldInfo& field);

// The stored form of a value, to compare with fieldBytes() of a field of that type.
std::array<std::byte, 8> encodeNumberKey(double value);                 // Number, Currency
std::array<std::byte, 4> encodeLongKey(std::int32_t value);             // Long, AutoInc
std::array<std::byte, 2> encodeShortKey(std::int16_t value);            // Short
std::array<std::byte, 4> encodeDateKey(double serial);                  // Date: the whole day of a serial
std::array<std::byte, 4> encodeTimeKey(std::int32_t millisecondsOfDay); // Time
std::array<std::byte, 8> encodeTimestampKey(double serial);             // Timestamp, to the millisecond
std::array<std::byte, 1> encodeLogicalKey(bool value);                  // Logical

} // namespace kalvian::paradox
