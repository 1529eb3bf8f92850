#include "row_record.h"

#include "common/date_serial.h"
#include "paradox/field_decoders.h"

namespace kalvian {

using paradox::FieldType;

namespace {

constexpr double kMillisecondsPerDay = 86400000.0;

bool isIntegerColumn(const paradox::FieldInfo& column) {
    return column.type == FieldType::Long || column.type == FieldType::Short ||
           column.type == FieldType::AutoInc;
}

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
    // Literals lie a few bytes apart: a multiplicative hash of the whole address spreads them, and a
    // name whose slot is taken tries the next few before taking its slot over.
    constexpr std::size_t kProbes = 4;
    const std::uint64_t address = reinterpret_cast<std::uintptr_t>(field.data());
    const std::size_t home = (address * 0x9E3779B97F4A7C15u) >> (64 - kColumnSlotBits);
    for (std::size_t probe = 0; probe < kProbes; ++probe) {
        CachedColumn& cached = m_columns[(home + probe) % m_columns.size()];
        if (cached.column == nullptr) {
            cached = {field.data(), &m_table->field(field)};
            return *cached.column;
        }
        // The same address may hold another name by now: the name itself is compared too.
        if (cached.name == field.data() && cached.column->name == field) {
            return *cached.column;
        }
    }
    CachedColumn& taken = m_columns[home];
    taken = {field.data(), &m_table->field(field)};
    return *taken.column;
}

// The kinds the export reads most are decoded straight from the record; the rest go through FieldValue.

std::string RowRecord::asText(std::string_view field) const {
    const paradox::FieldInfo& column = this->column(field);
    if (column.type == FieldType::Alpha) {
        return m_table->text(m_record, column).value_or(std::string());
    }
    if (isIntegerColumn(column)) {
        const std::optional<std::int32_t> value = paradox::integer(m_record, column);
        return value ? std::to_string(*value) : std::string();
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
    if (isIntegerColumn(column)) {
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
