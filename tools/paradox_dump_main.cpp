// Prints a Paradox table's fields and rows, one row a line, fields separated by "|", NULL as "NULL"; text
// stays Windows-1252. For looking at real tables by hand.
#include "common/error.h"
#include "paradox/field_display.h"
#include "paradox/table.h"

#include <iostream>

int main(int argc, char** argv) {
    using namespace kalvian::paradox;
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
                std::cout << separator << displayField(table, record, field).value_or("NULL");
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
