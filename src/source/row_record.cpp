#include "row_record.h"

#include "source/field_value.h"

namespace kalvian {

using paradox::FieldType;

namespace {

constexpr double kMillisecondsPerDay = 86400000.0;

template <class T> FieldValue orNull(const std::optional<T>& value) {
    return value ? FieldValue(*value) : FieldValue();
}

FieldValue orNullDate(const std::optional<double>& serial) {
    return serial ? FieldValue(DateSerial{*serial}) : FieldValue();
}

} // namespace

FieldValue decodeValue(const paradox::Table& table, std::span<const std::byte> record,
                       const paradox::FieldInfo& field) {
    switch (field.type) {
    case FieldType::Alpha:
        return orNull(table.text(record, field));
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        return orNull(paradox::integer(record, field));
    case FieldType::Number:
    case FieldType::Currency:
        return orNull(paradox::number(record, field));
    case FieldType::Bcd:
        return orNull(paradox::bcd(record, field));
    case FieldType::Date:
        return orNullDate(paradox::date(record, field));
    case FieldType::Timestamp:
        return orNullDate(paradox::timestamp(record, field));
    case FieldType::Time: {
        const auto time = paradox::timeOfDay(record, field);
        return time ? FieldValue(DateSerial{*time / kMillisecondsPerDay}) : FieldValue();
    }
    case FieldType::Logical: {
        const auto flag = paradox::logical(record, field);
        return flag ? FieldValue(std::string(*flag ? "True" : "False")) : FieldValue();
    }
    case FieldType::Bytes: {
        const auto raw = paradox::bytes(record, field);
        return raw ? FieldValue(std::string(reinterpret_cast<const char*>(raw->data()), raw->size()))
                   : FieldValue();
    }
    case FieldType::MemoBlob:
    case FieldType::Blob:
    case FieldType::FmtMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
        break;
    }
    return {};
}

FieldValue RowRecord::value(std::string_view field) const {
    return decodeValue(*m_table, m_record, m_table->field(field));
}

std::string RowRecord::asText(std::string_view field) const {
    return valueAsText(value(field));
}

double RowRecord::asNumber(std::string_view field) const {
    return valueAsNumber(value(field), field);
}

std::int32_t RowRecord::asInteger(std::string_view field) const {
    return valueAsInteger(value(field), field);
}

double RowRecord::asDate(std::string_view field) const {
    return valueAsDate(value(field), field);
}

} // namespace kalvian
