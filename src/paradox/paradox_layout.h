#pragma once

#include <array>
#include <cstddef>

// Where things lie in a Paradox data table (.DB), shared by the reader and the test writer.
namespace kalvian::paradox::layout {

// Offsets in the header, the same in every level unless noted.
inline constexpr std::size_t kRecordSize = 0x00;
inline constexpr std::size_t kHeaderSize = 0x02;
inline constexpr std::size_t kFileType = 0x04;
inline constexpr std::size_t kBlockKilobytes = 0x05;
inline constexpr std::size_t kRecordCount = 0x06;
inline constexpr std::size_t kFileBlocks = 0x0A;
inline constexpr std::size_t kUsedBlocks = 0x0C;
inline constexpr std::size_t kFirstBlock = 0x0E;
inline constexpr std::size_t kLastBlock = 0x10;
inline constexpr std::size_t kFieldCount = 0x21;
inline constexpr std::size_t kEncryptionOld = 0x25;
inline constexpr std::size_t kVersion = 0x39;
inline constexpr std::size_t kFileVersions = 0x58;  // level 4 and later: two words of the version again
inline constexpr std::size_t kEncryptionNew = 0x5C; // level 4 and later
inline constexpr std::size_t kCodePage = 0x6A;      // level 4 and later
// Level 3.x headers stop at 0x58 and the field descriptors follow; level 4+ insert 32 more bytes first.
inline constexpr std::size_t kDescriptorsOld = 0x58;
inline constexpr std::size_t kDescriptorsNew = 0x78;
// After the descriptors: a pointer to the table name, one name pointer per field, the table name in a
// fixed-size slot, then the field names, each ended by a NUL.
inline constexpr std::size_t kPointerSize = 4;
inline constexpr std::size_t kTableNameOld = 79;
inline constexpr std::size_t kTableNameLevel7 = 261;

// Header byte 0x39: 3 = 3.0, 4 = 3.5, 5..9 = 4, 10..11 = 5, 12 = 7.
inline constexpr int kFirstVersion = 3;
inline constexpr int kFirstLevel4Version = 5;
inline constexpr int kLastLevel4Version = 9;
inline constexpr int kLevel7Version = 12;
inline constexpr std::array<int, 7> kBlockKilobyteChoices = {1, 2, 3, 4, 8, 16, 32};

// Each data block starts with the next and previous block numbers and the offset of its last record.
inline constexpr std::size_t kBlockHead = 6;

} // namespace kalvian::paradox::layout
