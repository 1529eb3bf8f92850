#pragma once

#include "paradox/table.h"

#include <optional>
#include <span>
#include <string>

namespace kalvian::paradox {

// A field of a record as Windows-1252 text, for people to read: numbers in their general form (1.5),
// dates dd/mm/yyyy, times hh:mm:ss, timestamps both, logicals "T"/"F", bytes in hexadecimal, BCD as its
// decimal text, and "(memo)" for the fields whose content lives in the .MB file. Nothing for NULL.
std::optional<std::string> displayField(const Table& table, std::span<const std::byte> record,
                                        const FieldInfo& field);

} // namespace kalvian::paradox
