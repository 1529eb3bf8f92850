#include "paradox/field_decoders.h"

#include "common/error.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace kalvian::paradox {

namespace {

constexpr double kMillisecondsPerDay = 86400000.0;
constexpr std::size_t kBcdDigits = 32;

using detail::expectType;
using detail::kSerialOfDayZero;
using detail::storedDouble;
using detail::storedInteger;

// Whether a field of another size (Logical, Bytes, BCD) is NULL.
bool allZero(std::span<const std::byte> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::byte b) { return b == std::byte{0}; });
}

template <std::size_t N> std::array<std::byte, N> encodeInteger(std::int64_t value) {
    const std::uint64_t sign = std::uint64_t{1} << (N * 8 - 1);
    const std::uint64_t raw = static_cast<std::uint64_t>(value + static_cast<std::int64_t>(sign));
    std::array<std::byte, N> out{};
    for (std::size_t i = 0; i < N; ++i) {
        out[i] = static_cast<std::byte>(raw >> (8 * (N - 1 - i)));
    }
    return out;
}

std::optional<std::span<const std::byte>> present(std::span<const std::byte> record, const FieldInfo& field) {
    const std::span<const std::byte> bytes = fieldBytes(record, field);
    if (allZero(bytes)) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace

void detail::wrongType(const FieldInfo& field) {
    throw Error("Campo " + field.name + " lido como um tipo que não é o seu");
}

std::optional<std::int32_t> timeOfDay(std::span<const std::byte> record, const FieldInfo& field) {
    expectType(field, FieldType::Time);
    const std::optional<std::int64_t> milliseconds = storedInteger<4>(record, field);
    return milliseconds ? std::optional(static_cast<std::int32_t>(*milliseconds)) : std::nullopt;
}

std::optional<double> timestamp(std::span<const std::byte> record, const FieldInfo& field) {
    expectType(field, FieldType::Timestamp);
    const std::optional<double> milliseconds = storedDouble(record, field);
    return milliseconds ? std::optional(*milliseconds / kMillisecondsPerDay + kSerialOfDayZero)
                        : std::nullopt;
}

std::optional<bool> logical(std::span<const std::byte> record, const FieldInfo& field) {
    expectType(field, FieldType::Logical);
    const auto bytes = present(record, field);
    return bytes ? std::optional((*bytes)[0] != std::byte{0x80}) : std::nullopt;
}

std::optional<std::string> bcdText(std::span<const std::byte> record, const FieldInfo& field) {
    expectType(field, FieldType::Bcd);
    const std::span<const std::byte> stored = fieldBytes(record, field);
    // Byte 0: bit 7 set for positive values, bits 0-5 the decimals; 32 digit nibbles follow, inverted for
    // negative values. A clear sign bit with zero digit bytes is NULL.
    const bool positive = (stored[0] & std::byte{0x80}) != std::byte{0};
    if (!positive && allZero(stored.subspan(1))) {
        return std::nullopt;
    }
    const std::size_t decimals = std::min(kBcdDigits, static_cast<std::size_t>(stored[0] & std::byte{0x3F}));
    std::string digits;
    for (std::size_t i = 0; i < kBcdDigits; ++i) {
        auto byte = static_cast<unsigned>(stored[1 + i / 2]);
        if (!positive) {
            byte = ~byte & 0xFFu;
        }
        const unsigned nibble = i % 2 == 0 ? byte >> 4 : byte & 0x0Fu;
        if (nibble > 9) {
            break;
        }
        digits.push_back(static_cast<char>('0' + nibble));
    }
    digits.resize(kBcdDigits, '0');
    std::string whole = digits.substr(0, kBcdDigits - decimals);
    std::string fraction = digits.substr(kBcdDigits - decimals);
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    fraction.erase(std::min(fraction.find_last_not_of('0') + 1, fraction.size()));
    std::string text;
    if (!positive && !(whole.empty() && fraction.empty())) {
        text.push_back('-');
    }
    text.append(whole.empty() ? "0" : whole);
    if (!fraction.empty()) {
        text.push_back('.');
        text.append(fraction);
    }
    return text;
}

std::optional<double> bcd(std::span<const std::byte> record, const FieldInfo& field) {
    const std::optional<std::string> text = bcdText(record, field);
    return text ? std::optional(std::strtod(text->c_str(), nullptr)) : std::nullopt;
}

std::optional<std::vector<std::byte>> bytes(std::span<const std::byte> record, const FieldInfo& field) {
    expectType(field, FieldType::Bytes);
    const auto stored = present(record, field);
    return stored ? std::optional(std::vector<std::byte>(stored->begin(), stored->end())) : std::nullopt;
}

std::array<std::byte, 8> encodeNumberKey(double value) {
    constexpr std::uint64_t sign = std::uint64_t{1} << 63;
    auto raw = std::bit_cast<std::uint64_t>(value);
    raw = (raw & sign) != 0 ? ~raw : raw ^ sign;
    std::array<std::byte, 8> out{};
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<std::byte>(raw >> (8 * (7 - i)));
    }
    return out;
}

std::array<std::byte, 4> encodeLongKey(std::int32_t value) {
    return encodeInteger<4>(value);
}

std::array<std::byte, 2> encodeShortKey(std::int16_t value) {
    return encodeInteger<2>(value);
}

std::array<std::byte, 4> encodeDateKey(double serial) {
    return encodeInteger<4>(static_cast<std::int64_t>(std::floor(serial - kSerialOfDayZero)));
}

std::array<std::byte, 4> encodeTimeKey(std::int32_t millisecondsOfDay) {
    return encodeInteger<4>(millisecondsOfDay);
}

std::array<std::byte, 8> encodeTimestampKey(double serial) {
    return encodeNumberKey(std::round((serial - kSerialOfDayZero) * kMillisecondsPerDay));
}

std::array<std::byte, 1> encodeLogicalKey(bool value) {
    return {value ? std::byte{0x81} : std::byte{0x80}};
}

} // namespace kalvian::paradox
