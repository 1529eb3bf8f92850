#pragma once

#include "paradox/field_type.h"

#include <array>
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

// Number and Currency.
std::optional<double> number(std::span<const std::byte> record, const FieldInfo& field);
// Short, Long and AutoInc.
std::optional<std::int32_t> integer(std::span<const std::byte> record, const FieldInfo& field);
// Date, as a date serial (days since 30/12/1899).
std::optional<double> date(std::span<const std::byte> record, const FieldInfo& field);
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
