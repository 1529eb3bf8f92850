#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kalvian::paradox {

// The type codes of Paradox field descriptors.
enum class FieldType : std::uint8_t {
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Number = 0x06,
    Logical = 0x09,
    MemoBlob = 0x0C,
    Blob = 0x0D,
    FmtMemo = 0x0E,
    Ole = 0x0F,
    Graphic = 0x10,
    Time = 0x14,
    Timestamp = 0x15,
    AutoInc = 0x16,
    Bcd = 0x17,
    Bytes = 0x18,
};

struct FieldInfo {
    std::string name; // Windows-1252
    FieldType type = FieldType::Alpha;
    int size = 0;     // bytes the field takes in a record
    int offset = 0;   // where it starts in a record
    int decimals = 0; // BCD only: digits after the decimal point
};

// The type of a descriptor code, or nothing for a code Paradox does not define.
std::optional<FieldType> fieldTypeFromCode(std::uint8_t code);

// The record size a type always has, or nothing for types whose size the descriptor gives (alpha, bytes,
// memo, blob, graphic, OLE).
std::optional<int> fixedFieldSize(FieldType type);

// Memo, blob, graphic and OLE fields: their content lives in the .MB file, which is never read.
bool isBlobField(FieldType type);

} // namespace kalvian::paradox
