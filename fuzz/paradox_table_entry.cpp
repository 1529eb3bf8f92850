#include "paradox_table_entry.h"

#include "common/error.h"
#include "paradox/field_display.h"
#include "paradox/table.h"

#include <cstdlib>

namespace kalvian::paradox {

namespace {

// What one way of reading gave: the records of the chain in its order, or the message it failed with.
struct Reading {
    std::vector<std::byte> records;
    std::string error;
};

Reading scanned(const Table& table) {
    Reading reading;
    try {
        table.scan([&](std::span<const std::byte> record) {
            for (const FieldInfo& field : table.fields()) {
                displayField(table, record, field);
            }
            reading.records.insert(reading.records.end(), record.begin(), record.end());
        });
    } catch (const Error& error) {
        reading.error = error.what();
    }
    return reading;
}

Reading selected(const Table& table) {
    Reading reading;
    try {
        const RecordSet rows = table.select([](std::span<const std::byte>) { return true; });
        for (const std::uint32_t index : rows.chainOrder) {
            const std::span<const std::byte> record = rows.record(index);
            reading.records.insert(reading.records.end(), record.begin(), record.end());
        }
    } catch (const Error& error) {
        reading.error = error.what();
    }
    return reading;
}

} // namespace

bool readTableForFuzzing(const std::uint8_t* data, std::size_t size) {
    const auto* first = reinterpret_cast<const std::byte*>(data);
    try {
        const Table table = Table::fromBytes(std::vector<std::byte>(first, first + size), "fuzz.db");
        table.fieldIndex("DATA");
        const Reading scan = scanned(table);
        const Reading selection = selected(table);
        // Both ways of reading must agree on the message, and when there is none on the rows: anything
        // else is a finding. (A failed scan has delivered the rows before the fault; a selection none.)
        if (scan.error != selection.error || (scan.error.empty() && scan.records != selection.records)) {
            std::abort();
        }
        return scan.error.empty();
    } catch (const Error&) {
        return false;
    }
}

} // namespace kalvian::paradox
