#pragma once

#include <cstddef>
#include <cstdint>

namespace kalvian {

// Reads the bytes as an export file the two ways the program reads one: as --conferir checks a file, streamed
// from a file on disk, and as an export adds up the lines it writes. Returns true when the check accepted the
// file, false when it refused it with a kalvian::Error, the expected way to refuse bad input. Anything else
// (a crash, a sanitizer report, another exception, or a file the check accepts that the export's reading
// refuses or adds up otherwise) is a finding.
bool readExportFileForFuzzing(const std::uint8_t* data, std::size_t size);

} // namespace kalvian
