#pragma once

#include "common/source_record.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kalvian {

// The client block of the E and R lines, as the import layout has it: the client table's fields in this
// order and width. Fields filled with "0" are right-justified (PreencheEsquerda), those filled with blanks
// left-justified (PreencheDireita).
inline constexpr std::array<FixedWidthField, 11> kClientBlockFields = {{
    {"INSMUN", 11, '0', Justify::Right},
    {"NUMCNPJ", 14, '0', Justify::Right},
    {"NUMCPF", 11, '0', Justify::Right},
    {"NOME", 70, ' ', Justify::Left},
    {"RUA", 40, ' ', Justify::Left},
    {"NUMERO", 5, '0', Justify::Right},
    {"COMPLE", 15, ' ', Justify::Left},
    {"BAIRRO", 30, ' ', Justify::Left},
    {"CIDADE", 20, ' ', Justify::Left},
    {"ESTADO", 2, ' ', Justify::Left},
    {"CEP", 8, '0', Justify::Right},
}};

// Where a field starts within the block, from 0; the block's width for a name it does not hold.
constexpr std::size_t clientBlockOffset(std::string_view field) {
    return fieldOffset(kClientBlockFields, field);
}
inline constexpr std::size_t kClientBlockWidth = clientBlockOffset("");
inline constexpr std::size_t kClientNameOffset = clientBlockOffset("NOME");
inline constexpr std::size_t kClientNameWidth = clientBlockOffset("RUA") - kClientNameOffset;
inline constexpr std::size_t kClientNumberOffset = clientBlockOffset("NUMERO");
inline constexpr std::size_t kClientNumberWidth = clientBlockOffset("COMPLE") - kClientNumberOffset;

// What the name field of a client not found says, before the code in parentheses: the client is the taker
// of the service in an E line and its provider in an R line.
inline constexpr char kMissingTaker[] = "TOMADOR NAO ENCONTRADO";
inline constexpr char kMissingProvider[] = "PRESTADOR NAO ENCONTRADO";

// The name field of a client not found: the placeholder with the code, "TOMADOR NAO ENCONTRADO (57)", or
// nothing for codes below 1, which name no one.
std::string missingClientName(std::string_view placeholder, std::int64_t code);

// Appends the block of a client not found: every field all fill, but for the name.
void appendMissingClientBlock(std::string& line, std::string_view name);

} // namespace kalvian
