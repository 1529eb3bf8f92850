#pragma once

#include <cstddef>
#include <cstdint>

namespace kalvian::paradox {

// Opens the bytes as a table and shows every field of every record; a kalvian::Error is the expected way
// to refuse bad input, anything else (a crash, a sanitizer report, another exception) is a finding.
void readTableForFuzzing(const std::uint8_t* data, std::size_t size);

} // namespace kalvian::paradox
