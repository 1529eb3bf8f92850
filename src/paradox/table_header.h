#pragma once

#include "paradox/byte_source.h"
#include "paradox/field_type.h"

#include <cstdint>
#include <vector>

namespace kalvian::paradox {

// What the header of a Paradox data table (.DB) says, checked against the size of the file: every value
// here can be used without further bounds checks, except the block chain itself, which is checked as it is
// walked.
struct TableHeader {
    int versionCode = 0; // header byte 0x39: 3 = 3.0, 4 = 3.5, 5..9 = 4, 10..11 = 5, 12 = 7
    int recordSize = 0;
    int headerSize = 0;
    int blockSize = 0;
    std::uint32_t recordCount = 0;
    int firstBlock = 0;            // 0 for a table without data blocks
    int lastFileBlock = 0;         // the highest block number that starts inside the file
    int codePage = 0;              // the header's code page word, 0 for level 3.x tables
    std::vector<FieldInfo> fields; // names still in the table's code page
    // The header as read, headerSize bytes: its change counters (0x2D, 0x2E, and 0x70 from level 4) and
    // its update time (0x60) move with an edit in place that leaves the file's size and time as they were.
    std::vector<std::byte> bytes;
};

// Reads and checks the header; raises kalvian::Error (damaged, encrypted or not a data table).
TableHeader readTableHeader(const ByteSource& source);

} // namespace kalvian::paradox
