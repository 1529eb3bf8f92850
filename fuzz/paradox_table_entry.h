#pragma once

#include <cstddef>
#include <cstdint>

namespace kalvian::paradox {

// Opens the bytes as a table and shows every field of every record. Returns true when the table was read
// whole, false when it was refused with a kalvian::Error, the expected way to refuse bad input; anything
// else (a crash, a sanitizer report, another exception) is a finding.
bool readTableForFuzzing(const std::uint8_t* data, std::size_t size);

} // namespace kalvian::paradox
