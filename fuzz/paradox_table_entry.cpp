#include "paradox_table_entry.h"

#include "common/error.h"
#include "source/field_display.h"
#include "source/table.h"

namespace kalvian::paradox {

bool readTableForFuzzing(const std::uint8_t* data, std::size_t size) {
    const auto* first = reinterpret_cast<const std::byte*>(data);
    try {
        const Table table = Table::fromBytes(std::vector<std::byte>(first, first + size), "fuzz.db");
        table.fieldIndex("DATA");
        table.scan([&](std::span<const std::byte> record) {
            for (const FieldInfo& field : table.fields()) {
                displayField(table, record, field);
            }
        });
    } catch (const Error&) {
        return false;
    }
    return true;
}

} // namespace kalvian::paradox
