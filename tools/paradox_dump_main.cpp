// Prints a Paradox table's fields and rows, one row a line, fields separated by "|"; text stays
// Windows-1252. For looking at real tables by hand.
#include "common/error.h"
#include "source/field_value.h"
#include "source/table.h"

#include <iostream>

namespace {

using namespace kalvian::paradox;

std::string show(const Table& table, std::span<const std::byte> record, const FieldInfo& field) {
    const auto orNull = [](const auto& value, auto format) {
        return value ? format(*value) : std::string("NULL");
    };
    const auto asString = [](const auto& v) { return std::to_string(v); };
    switch (field.type) {
    case FieldType::Alpha:
        return orNull(table.text(record, field), [](const std::string& s) { return s; });
    case FieldType::Number:
    case FieldType::Currency:
        return orNull(number(record, field), asString);
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        return orNull(integer(record, field), asString);
    case FieldType::Date:
        return orNull(date(record, field), asString);
    case FieldType::Time:
        return orNull(timeOfDay(record, field), asString);
    case FieldType::Timestamp:
        return orNull(timestamp(record, field), asString);
    case FieldType::Logical:
        return orNull(logical(record, field), [](bool b) { return std::string(b ? "T" : "F"); });
    case FieldType::Bcd:
        return orNull(bcdText(record, field), [](const std::string& s) { return s; });
    case FieldType::Bytes:
        return orNull(bytes(record, field),
                      [](const auto& b) { return std::to_string(b.size()) + " bytes"; });
    default:
        return "(blob)";
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "uso: paradox_dump TABELA.DB\n";
        return 2;
    }
    try {
        const Table table = Table::open(argv[1]);
        std::cout << "versão " << table.versionCode() << ", página " << table.codePage() << ", "
                  << table.recordCount() << " registros de " << table.recordSize() << " bytes, blocos de "
                  << table.blockSize() << "\n";
        for (const FieldInfo& field : table.fields()) {
            std::cout << field.name << ':' << static_cast<int>(field.type) << '(' << field.size << ") ";
        }
        std::cout << '\n';
        table.scan([&](std::span<const std::byte> record) {
            const char* separator = "";
            for (const FieldInfo& field : table.fields()) {
                std::cout << separator << show(table, record, field);
                separator = "|";
            }
            std::cout << '\n';
        });
    } catch (const kalvian::Error& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
