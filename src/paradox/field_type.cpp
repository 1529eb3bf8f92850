#include "paradox/field_type.h"

namespace kalvian::paradox {

std::optional<FieldType> fieldTypeFromCode(std::uint8_t code) {
    switch (static_cast<FieldType>(code)) {
    case FieldType::Alpha:
    case FieldType::Date:
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::Currency:
    case FieldType::Number:
    case FieldType::Logical:
    case FieldType::MemoBlob:
    case FieldType::Blob:
    case FieldType::FmtMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
    case FieldType::Time:
    case FieldType::Timestamp:
    case FieldType::AutoInc:
    case FieldType::Bcd:
    case FieldType::Bytes:
        return static_cast<FieldType>(code);
    }
    return std::nullopt;
}

std::optional<int> fixedFieldSize(FieldType type) {
    switch (type) {
    case FieldType::Logical:
        return 1;
    case FieldType::Short:
        return 2;
    case FieldType::Date:
    case FieldType::Long:
    case FieldType::Time:
    case FieldType::AutoInc:
        return 4;
    case FieldType::Currency:
    case FieldType::Number:
    case FieldType::Timestamp:
        return 8;
    case FieldType::Bcd:
        return 17;
    default:
        return std::nullopt;
    }
}

bool isBlobField(FieldType type) {
    switch (type) {
    case FieldType::MemoBlob:
    case FieldType::Blob:
    case FieldType::FmtMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
        return true;
    default:
        return false;
    }
}

} // namespace kalvian::paradox
