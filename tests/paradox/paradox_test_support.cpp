#include "paradox_test_support.h"

#include "common/error.h"
#include "paradox/field_display.h"

namespace kalvian::paradox::test {

std::filesystem::path samplePath(std::string_view relative) {
    return std::filesystem::path(KALVIAN_PARADOX_SAMPLES_DIR) / relative;
}

std::vector<std::string> readRows(const Table& table) {
    std::vector<std::string> rows;
    table.scan([&](std::span<const std::byte> record) {
        std::string row;
        const char* separator = "";
        for (const FieldInfo& field : table.fields()) {
            row += separator;
            row += displayField(table, record, field).value_or("NULL");
            separator = "|";
        }
        rows.push_back(std::move(row));
    });
    return rows;
}

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

} // namespace kalvian::paradox::test
