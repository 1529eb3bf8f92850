#pragma once

#include "common/field_value.h"
#include "common/number_text.h"
#include "common/source_record.h"
#include "paradox/table.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kalvian {

// A field of a stored record as the value the source queries deliver: alpha as Windows-1252 text, the
// integer kinds as integers, number, currency and BCD as floating point, date, time and timestamp as date
// serials, logical as "True" or "False", bytes as they are; memo and blob fields read as NULL.
FieldValue decodeValue(const paradox::Table& table, std::span<const std::byte> record,
                       const paradox::FieldInfo& field);

// One stored record of a table, read by field name. It reads the records of one table, for as long as it
// lives: the columns it finds are kept from record to record.
class RowRecord : public SourceRecord {
public:
    // Reads no table: a place for a record to come.
    RowRecord() = default;
    explicit RowRecord(const paradox::Table& table) : m_table(&table) {}

    void setRecord(std::span<const std::byte> record) { m_record = record; }

    std::string asText(std::string_view field) const override;
    void placeFields(const FixedWidthLayout& layout, std::span<char> out) const override;
    double asNumber(std::string_view field) const override;
    std::int32_t asInteger(std::string_view field) const override;
    double asDate(std::string_view field) const override;

private:
    // The column of a field name. The export asks for the same few names for every row: a small cache keyed
    // by the name itself, packed into a word with its length, avoids searching the table's fields.
    const paradox::FieldInfo& column(std::string_view field) const;
    std::string text(const paradox::FieldInfo& column) const;
    // The text of an integer or number column, written into `room`; nothing for a column of another kind.
    using NumberRoom = std::array<char, kGeneralTextRoom>;
    std::optional<std::string_view> numberText(const paradox::FieldInfo& column, NumberRoom& room) const;

    struct CachedColumn {
        std::uint64_t name = 0;
        std::size_t length = 0;
        const paradox::FieldInfo* column = nullptr;
    };
    static constexpr int kColumnSlotBits = 6;
    mutable std::array<CachedColumn, std::size_t{1} << kColumnSlotBits> m_columns{};

    // The columns of the layout placeFields was last given, by the layout's number.
    mutable std::uint64_t m_placedLayout = 0;
    mutable std::vector<const paradox::FieldInfo*> m_placedColumns;
    const paradox::Table* m_table = nullptr;
    std::span<const std::byte> m_record;
};

} // namespace kalvian
