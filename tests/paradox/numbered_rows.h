#pragma once

#include "paradox/field_decoders.h"
#include "paradox/table.h"
#include "paradox_writer.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kalvian::paradox::test {

// CODIGO long + NOME alpha(20): 24-byte records, 85 to a 2K block.
constexpr std::size_t kRows = 3000;
constexpr std::size_t kHeader = 2048;
constexpr std::size_t kBlock = 2048;

inline TableWriter numberedRows(std::size_t rows = kRows) {
    TableWriter writer(
        {7, 850, static_cast<int>(kBlock), {{"CODIGO", FieldType::Long}, {"NOME", FieldType::Alpha, 20}}});
    for (std::size_t i = 0; i < rows; ++i) {
        writer.addRow({static_cast<std::int32_t>(i), "linha " + std::to_string(i)});
    }
    return writer;
}

// The CODIGO of every row, in the order the scan delivers them.
inline std::vector<std::int32_t> codesOf(const Table& table) {
    const FieldInfo& code = table.field("CODIGO");
    std::vector<std::int32_t> codes;
    table.scan(
        [&](std::span<const std::byte> record) { codes.push_back(integer(record, code).value_or(-1)); });
    return codes;
}

// The CODIGO of every row, through a selection that keeps them all.
inline std::vector<std::int32_t> selectedCodesOf(const Table& table) {
    const FieldInfo& code = table.field("CODIGO");
    const RecordSet rows = table.select([](std::span<const std::byte>) { return true; });
    std::vector<std::int32_t> codes;
    for (const std::uint32_t index : rows.chainOrder) {
        codes.push_back(integer(rows.record(index), code).value_or(-1));
    }
    return codes;
}

inline std::vector<std::int32_t> firstCodes(std::size_t rows) {
    std::vector<std::int32_t> codes(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        codes[i] = static_cast<std::int32_t>(i);
    }
    return codes;
}

// What the database engine does to a table it edits in place: the header's first change counter (0x2D)
// moves, and here the file keeps its size and its modification time.
inline void bumpChangeCounter(const std::filesystem::path& path) {
    const auto written = std::filesystem::last_write_time(path);
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekg(0x2D);
    const int counter = file.get();
    file.seekp(0x2D);
    file.put(static_cast<char>(counter + 1));
    file.close();
    std::filesystem::last_write_time(path, written);
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<std::byte>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace kalvian::paradox::test
