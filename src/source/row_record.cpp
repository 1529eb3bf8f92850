#include "row_record.h"

#include "common/date_serial.h"
#include "source/field_decoders.h"

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

const paradox::FieldInfo& RowRecord::column(std::string_view field) const {
    CachedColumn& cached =
        m_columns[(reinterpret_cast<std::uintptr_t>(field.data()) >> 3) % m_columns.size()];
    // The same address may hold another name by now: the name itself is compared too.
    if (cached.column == nullptr || cached.name != field.data() || cached.column->name != field) {
        cached = {field.data(), &m_table->field(field)};
    }
    return *cached.column;
}

// The kinds the export reads most are decoded straight from the record; the rest go through FieldValue.

std::string RowRecord::asText(std::string_view field) const {
    const paradox::FieldInfo& column = this->column(field);
    if (column.type == FieldType::Alpha) {
        return m_table->text(m_record, column).value_or(std::string());
    }
    return valueAsText(decodeValue(*m_table, m_record, column));
}

double RowRecord::asNumber(std::string_view field) const {
    const paradox::FieldInfo& column = this->column(field);
    if (column.type == FieldType::Number || column.type == FieldType::Currency) {
        return paradox::number(m_record, column).value_or(0.0);
    }
    return valueAsNumber(decodeValue(*m_table, m_record, column), field);
}

std::int32_t RowRecord::asInteger(std::string_view field) const {
    const paradox::FieldInfo& column = this->column(field);
    if (column.type == FieldType::Long || column.type == FieldType::Short ||
        column.type == FieldType::AutoInc) {
        return paradox::integer(m_record, column).value_or(0);
    }
    return valueAsInteger(decodeValue(*m_table, m_record, column), field);
}

double RowRecord::asDate(std::string_view field) const {
    const paradox::FieldInfo& column = this->column(field);
    if (column.type == FieldType::Date) {
        return paradox::date(m_record, column).value_or(kBlankDate);
    }
    return valueAsDate(decodeValue(*m_table, m_record, column), field);
}

} // namespace kalvian
