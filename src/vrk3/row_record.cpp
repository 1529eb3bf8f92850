#include "row_record.h"

#include "common/date_serial.h"
#include "common/number_text.h"
#include "paradox/field_decoders.h"

#include <charconv>
#include <cstring>

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

constexpr std::size_t kPackedNameBytes = 8;

std::uint64_t fourBytes(const char* bytes) {
    std::uint32_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// A name of up to eight bytes as one word that, with its length, tells it from any other: its first and
// last four bytes, which overlap in shorter names; its first, middle and last byte below four.
std::uint64_t packedName(std::string_view name) {
    if (name.size() >= 4) {
        return fourBytes(name.data()) | fourBytes(name.data() + name.size() - 4) << 32;
    }
    if (name.empty()) {
        return 0;
    }
    const auto byte = [&](std::size_t at) { return std::uint64_t{static_cast<unsigned char>(name[at])}; };
    return byte(0) | byte(name.size() / 2) << 8 | byte(name.size() - 1) << 16;
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
    // Every column of the VRK 3 tables has a name short enough to be cached; a longer one is looked up.
    if (field.size() > kPackedNameBytes) {
        return m_table->field(field);
    }
    // A name whose slot is taken tries the next few before taking its slot over.
    constexpr std::size_t kProbes = 4;
    const std::uint64_t name = packedName(field);
    const std::size_t home = ((name + field.size()) * 0x9E3779B97F4A7C15u) >> (64 - kColumnSlotBits);
    for (std::size_t probe = 0; probe < kProbes; ++probe) {
        CachedColumn& cached = m_columns[(home + probe) % m_columns.size()];
        if (cached.column == nullptr) {
            cached = {name, field.size(), &m_table->field(field)};
            return *cached.column;
        }
        if (cached.name == name && cached.length == field.size()) {
            return *cached.column;
        }
    }
    CachedColumn& taken = m_columns[home];
    taken = {name, field.size(), &m_table->field(field)};
    return *taken.column;
}

// The kinds the export reads most are decoded straight from the record; the rest go through FieldValue.

std::string RowRecord::asText(std::string_view field) const {
    return text(column(field));
}

std::string RowRecord::text(const paradox::FieldInfo& column) const {
    if (column.type == FieldType::Alpha) {
        return m_table->text(m_record, column).value_or(std::string());
    }
    NumberRoom room;
    if (const std::optional<std::string_view> number = numberText(column, room)) {
        return std::string(*number);
    }
    return valueAsText(decodeValue(*m_table, m_record, column));
}

std::optional<std::string_view> RowRecord::numberText(const paradox::FieldInfo& column,
                                                      NumberRoom& room) const {
    if (isIntegerColumn(column)) {
        const std::optional<std::int32_t> value = paradox::integer(m_record, column);
        const char* const end = value ? std::to_chars(room.begin(), room.end(), *value).ptr : room.data();
        return std::string_view(room.data(), static_cast<std::size_t>(end - room.data()));
    }
    if (column.type == FieldType::Number || column.type == FieldType::Currency) {
        const std::optional<double> value = paradox::number(m_record, column);
        return std::string_view(room.data(), value ? writeGeneral(*value, room) : 0);
    }
    return std::nullopt;
}

// The fill of the whole layout is written at once; then text fields, most of a client block, go straight from
// the record into their place, and numbers through a buffer on the stack.
void RowRecord::placeFields(const FixedWidthLayout& layout, std::span<char> out) const {
    const std::span<const FixedWidthField> fields = layout.fields();
    if (layout.number() != m_placedLayout) {
        m_placedColumns.clear();
        for (const FixedWidthField& field : fields) {
            m_placedColumns.push_back(&column(field.name));
        }
        m_placedLayout = layout.number();
    }
    std::memcpy(out.data(), layout.fill().data(), layout.fill().size());
    std::size_t offset = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::span<char> place = out.subspan(offset, fields[i].width);
        const paradox::FieldInfo& column = *m_placedColumns[i];
        NumberRoom room;
        if (column.type == FieldType::Alpha) {
            m_table->placeText(place, m_record, column, fields[i].justify);
        } else if (const std::optional<std::string_view> number = numberText(column, room)) {
            placeOverFill(place, *number, fields[i].justify);
        } else {
            placeOverFill(place, text(column), fields[i].justify);
        }
        offset += fields[i].width;
    }
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
