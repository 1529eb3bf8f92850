#include "query_schema.h"

#include "common/error.h"

namespace kalvian {

using paradox::FieldType;

const char* declaredTypeName(DeclaredType type) {
    switch (type) {
    case DeclaredType::String:
        return "String";
    case DeclaredType::Integer:
        return "Integer";
    case DeclaredType::Float:
        return "Float";
    case DeclaredType::Date:
        return "Date";
    }
    return "Unknown";
}

const char* columnTypeName(FieldType type) {
    switch (type) {
    case FieldType::Alpha:
        return "String";
    case FieldType::Short:
        return "SmallInt";
    case FieldType::Long:
        return "Integer";
    case FieldType::AutoInc:
        return "AutoInc";
    case FieldType::Number:
        return "Float";
    case FieldType::Currency:
        return "Currency";
    case FieldType::Bcd:
        return "BCD";
    case FieldType::Date:
        return "Date";
    case FieldType::Time:
        return "Time";
    case FieldType::Timestamp:
        return "DateTime";
    case FieldType::Logical:
        return "Boolean";
    case FieldType::Bytes:
        return "Bytes";
    case FieldType::MemoBlob:
        return "Memo";
    case FieldType::FmtMemo:
        return "FmtMemo";
    case FieldType::Blob:
        return "Blob";
    case FieldType::Graphic:
        return "Graphic";
    case FieldType::Ole:
        return "OLE";
    }
    return "Unknown";
}

bool acceptsColumn(DeclaredType declared, FieldType column) {
    switch (declared) {
    case DeclaredType::String:
        return column == FieldType::Alpha;
    case DeclaredType::Integer:
        return column == FieldType::Short || column == FieldType::Long || column == FieldType::AutoInc;
    case DeclaredType::Float:
        return column == FieldType::Number || column == FieldType::Currency;
    case DeclaredType::Date:
        return column == FieldType::Date || column == FieldType::Time || column == FieldType::Timestamp;
    }
    return false;
}

void checkSchema(const std::string& queryName, const paradox::Table& table,
                 std::span<const DeclaredField> declared) {
    for (const DeclaredField& field : declared) {
        const int index = table.fieldIndex(field.name);
        if (index < 0) {
            throw Error(queryName + ": Field '" + field.name + "' not found");
        }
        const paradox::FieldInfo& column = table.fields()[static_cast<std::size_t>(index)];
        if (!acceptsColumn(field.type, column.type)) {
            throw Error(queryName + ": Type mismatch for field '" + field.name + "', expecting: " +
                        declaredTypeName(field.type) + " actual: " + columnTypeName(column.type));
        }
    }
}

} // namespace kalvian
