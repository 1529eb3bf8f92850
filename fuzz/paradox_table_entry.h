#pragma once

#include <cstddef>
#include <cstdint>

namespace kalvian::paradox {

// Opens the bytes as a table, shows every field of every record of a scan, and selects every record too.
// Returns true when the table was read whole, false when it was refused with a kalvian::Error, the expected
// way to refuse bad input. Anything else (a crash, a sanitizer report, another exception, or a scan and a
// selection that disagree on the rows or on the message) is a finding.
bool readTableForFuzzing(const std::uint8_t* data, std::size_t size);

} // namespace kalvian::paradox
