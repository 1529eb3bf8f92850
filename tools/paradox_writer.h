#pragma once

#include "paradox/field_type.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace kalvian::paradox {

// A field of a table to write. size matters only for Alpha and Bytes; the other types have fixed sizes.
struct WriterField {
    std::string name; // Windows-1252
    FieldType type = FieldType::Alpha;
    int size = 0;
};

struct TableLayout {
    int level = 7;        // 4 or 7
    int codePage = 1252;  // the code page text is stored in: 850 or 1252 (any single-byte one iconv knows)
    int blockSize = 2048; // 2048 or 4096
    std::vector<WriterField> fields;
};

// Where the data blocks go in the file. The chain always delivers the rows in the order they were added.
struct BlockPlacement {
    bool shuffled = false; // blocks stored in a random order (seed), linked in row order
    unsigned seed = 1;
    int freeBlocks = 0; // blocks outside the chain holding stale records, as real tables keep
    // Each block of the chain holds a random number of rows (seed), from this share of its capacity (at
    // least one row) to full, as deletes leave them; the room behind the last row keeps stale records.
    int minimumFillPercent = 100;
};

// One value of a row: monostate is NULL; std::string (Windows-1252) for Alpha; double for Number,
// Currency, Date and Timestamp (dates as date serials); std::int32_t for Short, Long, AutoInc and Time
// (milliseconds of day); bool for Logical; bytes for Bytes.
using WriterValue =
    std::variant<std::monostate, std::string, double, std::int32_t, bool, std::vector<std::byte>>;

// Writes non-indexed Paradox tables (level 4 or 7) for tests, benchmarks and sample data. Rows are encoded
// as they are added and held in memory until the table is built.
class TableWriter {
public:
    // Raises kalvian::Error for a level, code page, block size or field this writer cannot write.
    explicit TableWriter(TableLayout layout);

    // Raises kalvian::Error for a row whose values do not fit its fields.
    void addRow(const std::vector<WriterValue>& row);
    std::size_t rowCount() const { return m_rowCount; }

    std::vector<std::byte> build(const BlockPlacement& placement = {}) const;
    void writeFile(const std::filesystem::path& path, const BlockPlacement& placement = {}) const;

private:
    void encodeValue(const WriterField& field, const WriterValue& value, std::byte* out) const;
    std::vector<std::byte> header(int firstBlock, int lastBlock, int totalBlocks) const;

    TableLayout m_layout;
    int m_recordSize = 0;
    std::vector<std::byte> m_records;
    std::size_t m_rowCount = 0;
    // Windows-1252 byte to the table's code page; -1 where it has no form there.
    std::vector<int> m_toCodePage;
};

} // namespace kalvian::paradox
