#include "paradox/field_display.h"

#include "common/date_format.h"
#include "common/date_serial.h"
#include "common/number_text.h"
#include "paradox/field_decoders.h"

#include <cmath>
#include <cstdio>

namespace kalvian::paradox {

namespace {

constexpr std::int64_t kMillisecondsPerDay = 86400000;

std::string twoDigits(std::int64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "%02lld", static_cast<long long>(value));
    return text;
}

std::string dayText(double serial) {
    const std::optional<CalendarDate> day = fromSerial(serial);
    if (!day) {
        return "(dia " + formatGeneral(serial) + ")";
    }
    return formatDate(serial, '/');
}

std::string clockText(std::int64_t milliseconds) {
    const std::int64_t seconds = milliseconds / 1000;
    return twoDigits(seconds / 3600) + ":" + twoDigits(seconds / 60 % 60) + ":" + twoDigits(seconds % 60);
}

std::string timestampText(double serial) {
    const double day = std::floor(serial);
    const auto milliseconds = static_cast<std::int64_t>(std::llround((serial - day) * kMillisecondsPerDay));
    return dayText(day) + " " + clockText(milliseconds);
}

std::string hexText(const std::vector<std::byte>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const std::byte b : bytes) {
        text.push_back(kDigits[static_cast<unsigned>(b) >> 4]);
        text.push_back(kDigits[static_cast<unsigned>(b) & 0x0Fu]);
    }
    return text;
}

template <typename T, typename Format>
std::optional<std::string> formatted(const std::optional<T>& value, Format format) {
    return value ? std::optional(format(*value)) : std::nullopt;
}

} // namespace

std::optional<std::string> displayField(const Table& table, std::span<const std::byte> record,
                                        const FieldInfo& field) {
    switch (field.type) {
    case FieldType::Alpha:
        return table.text(record, field);
    case FieldType::Number:
    case FieldType::Currency:
        return formatted(number(record, field), formatGeneral);
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        return formatted(integer(record, field), [](std::int32_t v) { return std::to_string(v); });
    case FieldType::Date:
        return formatted(date(record, field), dayText);
    case FieldType::Time:
        return formatted(timeOfDay(record, field), [](std::int32_t v) { return clockText(v); });
    case FieldType::Timestamp:
        return formatted(timestamp(record, field), timestampText);
    case FieldType::Logical:
        return formatted(logical(record, field), [](bool v) { return std::string(v ? "T" : "F"); });
    case FieldType::Bcd:
        return bcdText(record, field);
    case FieldType::Bytes:
        return formatted(bytes(record, field), hexText);
    case FieldType::MemoBlob:
    case FieldType::Blob:
    case FieldType::FmtMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
        return "(memo)";
    }
    return std::nullopt;
}

} // namespace kalvian::paradox
