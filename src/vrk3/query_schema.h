#pragma once

#include "paradox/field_type.h"
#include "paradox/table.h"

#include <span>
#include <string>

namespace kalvian {

// The type a query declares for a field; each accepts a family of table column types.
enum class DeclaredType { String, Integer, Float, Date };

struct DeclaredField {
    const char* name;
    DeclaredType type;
};

// The names the database engine gives the types, as its messages show them.
const char* declaredTypeName(DeclaredType type);
const char* columnTypeName(paradox::FieldType type);

// String takes alpha of any width; Integer short, long and autoinc; Float number and currency; Date date,
// time and timestamp.
bool acceptsColumn(DeclaredType declared, paradox::FieldType column);

// Checks that the table has every declared field in a type of its family, in the declared order; extra
// columns are fine. Raises kalvian::Error with "<query>: Field 'X' not found" or
// "<query>: Type mismatch for field 'X', expecting: T1 actual: T2".
void checkSchema(const std::string& queryName, const paradox::Table& table,
                 std::span<const DeclaredField> declared);

} // namespace kalvian
