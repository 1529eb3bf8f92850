#include "paradox_writer.h"

#include "common/error.h"
#include "paradox/code_page_text.h"
#include "paradox/field_decoders.h"
#include "paradox/paradox_layout.h"

#include <algorithm>
#include <fstream>
#include <numeric>
#include <random>

namespace kalvian::paradox {

namespace {

using namespace layout;

// Headers take whole 2K units.
constexpr std::size_t kHeaderUnit = 2048;
constexpr std::byte kNonIndexedTable{2};
constexpr std::uint32_t kNotEncryptedMarker = 0xFF00FF00; // what level 4+ writers leave at the old slot

void putWord(std::vector<std::byte>& bytes, std::size_t at, unsigned value) {
    bytes[at] = static_cast<std::byte>(value & 0xFFu);
    bytes[at + 1] = static_cast<std::byte>(value >> 8 & 0xFFu);
}

void putDword(std::vector<std::byte>& bytes, std::size_t at, std::uint32_t value) {
    putWord(bytes, at, value & 0xFFFFu);
    putWord(bytes, at + 2, value >> 16);
}

int fieldSize(const WriterField& field) {
    return fixedFieldSize(field.type).value_or(field.size);
}

template <typename T> const T& valueAs(const WriterField& field, const WriterValue& value) {
    const T* held = std::get_if<T>(&value);
    if (held == nullptr) {
        throw Error("Valor de tipo errado para o campo " + field.name);
    }
    return *held;
}

template <std::size_t N> void copyKey(const std::array<std::byte, N>& key, std::byte* out) {
    std::copy(key.begin(), key.end(), out);
}

} // namespace

TableWriter::TableWriter(TableLayout layout) : m_layout(std::move(layout)), m_toCodePage(256, -1) {
    if (m_layout.level != 4 && m_layout.level != 7) {
        throw Error("Nível de tabela que o gravador não escreve: " + std::to_string(m_layout.level));
    }
    if (m_layout.blockSize != 2048 && m_layout.blockSize != 4096) {
        throw Error("Tamanho de bloco que o gravador não escreve: " + std::to_string(m_layout.blockSize));
    }
    const std::optional<CodePageText> text = CodePageText::forCodePage(m_layout.codePage);
    if (!text || m_layout.fields.empty()) {
        throw Error("Página de código ou lista de campos que o gravador não escreve");
    }
    // The reverse of the reader's conversion, so what the writer stores reads back as the same text.
    for (int byte = 255; byte >= 0; --byte) {
        const std::byte stored{static_cast<unsigned char>(byte)};
        const auto windows = static_cast<unsigned char>(text->toWindows1252(std::span(&stored, 1))[0]);
        if (windows != '?' || byte == '?') {
            m_toCodePage[windows] = byte;
        }
    }
    for (const WriterField& field : m_layout.fields) {
        const bool sized = field.type == FieldType::Alpha || field.type == FieldType::Bytes;
        if (field.type == FieldType::Bcd || isBlobField(field.type) ||
            (sized && (field.size < 1 || field.size > 255))) {
            throw Error("Campo que o gravador não escreve: " + field.name);
        }
        m_recordSize += fieldSize(field);
    }
    if (static_cast<std::size_t>(m_recordSize) > static_cast<std::size_t>(m_layout.blockSize) - kBlockHead) {
        throw Error("Registro maior que um bloco");
    }
}

void TableWriter::addRow(const std::vector<WriterValue>& row) {
    if (row.size() != m_layout.fields.size()) {
        throw Error("Linha com " + std::to_string(row.size()) + " valores para " +
                    std::to_string(m_layout.fields.size()) + " campos");
    }
    const std::size_t start = m_records.size();
    m_records.resize(start + static_cast<std::size_t>(m_recordSize));
    std::byte* out = m_records.data() + start;
    for (std::size_t i = 0; i < row.size(); ++i) {
        encodeValue(m_layout.fields[i], row[i], out);
        out += fieldSize(m_layout.fields[i]);
    }
    ++m_rowCount;
}

void TableWriter::encodeValue(const WriterField& field, const WriterValue& value, std::byte* out) const {
    if (std::holds_alternative<std::monostate>(value)) {
        return;
    }
    switch (field.type) {
    case FieldType::Alpha: {
        const std::string& text = valueAs<std::string>(field, value);
        if (text.size() > static_cast<std::size_t>(field.size)) {
            throw Error("Texto maior que o campo " + field.name);
        }
        for (const char ch : text) {
            const int stored = m_toCodePage[static_cast<unsigned char>(ch)];
            if (stored < 0) {
                throw Error("Texto sem forma na página de código da tabela, campo " + field.name);
            }
            *out++ = static_cast<std::byte>(stored);
        }
        return;
    }
    case FieldType::Number:
    case FieldType::Currency:
        return copyKey(encodeNumberKey(valueAs<double>(field, value)), out);
    case FieldType::Date:
        return copyKey(encodeDateKey(valueAs<double>(field, value)), out);
    case FieldType::Timestamp:
        return copyKey(encodeTimestampKey(valueAs<double>(field, value)), out);
    case FieldType::Short:
        return copyKey(encodeShortKey(static_cast<std::int16_t>(valueAs<std::int32_t>(field, value))), out);
    case FieldType::Long:
    case FieldType::AutoInc:
        return copyKey(encodeLongKey(valueAs<std::int32_t>(field, value)), out);
    case FieldType::Time:
        return copyKey(encodeTimeKey(valueAs<std::int32_t>(field, value)), out);
    case FieldType::Logical:
        return copyKey(encodeLogicalKey(valueAs<bool>(field, value)), out);
    case FieldType::Bytes: {
        const auto& bytes = valueAs<std::vector<std::byte>>(field, value);
        if (bytes.size() > static_cast<std::size_t>(field.size)) {
            throw Error("Bytes demais para o campo " + field.name);
        }
        std::copy(bytes.begin(), bytes.end(), out);
        return;
    }
    default:
        throw Error("Campo que o gravador não escreve: " + field.name);
    }
}

std::vector<std::byte> TableWriter::header(int firstBlock, int lastBlock, int totalBlocks) const {
    const std::size_t tableName = m_layout.level == 7 ? kTableNameLevel7 : kTableNameOld;
    std::size_t names = 0;
    for (const WriterField& field : m_layout.fields) {
        names += field.name.size() + 1;
    }
    const std::size_t count = m_layout.fields.size();
    const std::size_t namesAt = kDescriptorsNew + 2 * count + kPointerSize * (count + 1) + tableName;
    const std::string sortOrder = m_layout.codePage == 1252 ? "ANSIINTL" : "ascii";
    const std::size_t used = namesAt + names + 2 * count + sortOrder.size() + 1;
    std::vector<std::byte> bytes((used + kHeaderUnit - 1) / kHeaderUnit * kHeaderUnit);

    const unsigned version = m_layout.level == 7 ? kLevel7Version : kLastLevel4Version;
    putWord(bytes, kRecordSize, static_cast<unsigned>(m_recordSize));
    putWord(bytes, kHeaderSize, static_cast<unsigned>(bytes.size()));
    bytes[kFileType] = kNonIndexedTable;
    bytes[kBlockKilobytes] = static_cast<std::byte>(m_layout.blockSize / 1024);
    putDword(bytes, kRecordCount, static_cast<std::uint32_t>(m_rowCount));
    putWord(bytes, kFileBlocks, static_cast<unsigned>(totalBlocks));
    putWord(bytes, kUsedBlocks, static_cast<unsigned>(totalBlocks));
    putWord(bytes, kFirstBlock, static_cast<unsigned>(firstBlock));
    putWord(bytes, kLastBlock, static_cast<unsigned>(lastBlock));
    putWord(bytes, kFieldCount, static_cast<unsigned>(count));
    putDword(bytes, kEncryptionOld, kNotEncryptedMarker);
    bytes[kVersion] = static_cast<std::byte>(version);
    putWord(bytes, kFileVersions, 0x0100 | version);
    putWord(bytes, kFileVersions + 2, 0x0100 | version);
    putWord(bytes, kCodePage, static_cast<unsigned>(m_layout.codePage));
    std::size_t at = kDescriptorsNew;
    for (const WriterField& field : m_layout.fields) {
        bytes[at++] = static_cast<std::byte>(field.type);
        bytes[at++] = static_cast<std::byte>(fieldSize(field));
    }
    at = namesAt;
    for (const WriterField& field : m_layout.fields) {
        for (const char ch : field.name) {
            bytes[at++] =
                static_cast<std::byte>(std::max(m_toCodePage[static_cast<unsigned char>(ch)], int{'?'}));
        }
        at++;
    }
    for (std::size_t i = 1; i <= count; ++i, at += 2) {
        putWord(bytes, at, static_cast<unsigned>(i));
    }
    std::transform(sortOrder.begin(), sortOrder.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                   [](char ch) { return static_cast<std::byte>(ch); });
    return bytes;
}

std::vector<std::byte> TableWriter::build(const BlockPlacement& placement) const {
    const auto recordSize = static_cast<std::size_t>(m_recordSize);
    const auto blockSize = static_cast<std::size_t>(m_layout.blockSize);
    const std::size_t perBlock = (blockSize - kBlockHead) / recordSize;
    std::mt19937 random(placement.seed);
    // firstRow[i] is the first row of the i-th block of the chain; the last entry is the row count.
    std::vector<std::size_t> firstRow{0};
    const bool partlyFilled = placement.minimumFillPercent < 100;
    std::uniform_int_distribution<std::size_t> fill(
        std::max<std::size_t>(
            1, perBlock * static_cast<std::size_t>(std::max(0, placement.minimumFillPercent)) / 100),
        perBlock);
    while (firstRow.back() < m_rowCount) {
        const std::size_t rows = partlyFilled ? fill(random) : perBlock;
        firstRow.push_back(std::min(m_rowCount, firstRow.back() + rows));
    }
    const std::size_t chained = firstRow.size() - 1;
    const std::size_t total = chained + static_cast<std::size_t>(std::max(0, placement.freeBlocks));
    if (total > 0xFFFF) {
        throw Error("Linhas demais para uma tabela com blocos deste tamanho");
    }
    // position[i] is where the i-th block of the chain is stored; the rest hold the free blocks.
    std::vector<std::size_t> position(total);
    std::iota(position.begin(), position.end(), std::size_t{0});
    if (placement.shuffled || placement.freeBlocks > 0) {
        std::shuffle(position.begin(), position.end(), random);
    }
    const auto number = [&](std::size_t chainIndex) { return static_cast<int>(position[chainIndex] + 1); };

    std::vector<std::byte> file =
        header(chained ? number(0) : 0, chained ? number(chained - 1) : 0, static_cast<int>(total));
    const std::size_t dataStart = file.size();
    file.resize(dataStart + total * blockSize);
    for (std::size_t i = 0; i < total; ++i) {
        const bool inChain = i < chained;
        // A free block repeats records of the table under a stale head, as a deleted block would.
        const std::size_t first = inChain ? firstRow[i] : 0;
        const std::size_t rows = inChain ? firstRow[i + 1] - firstRow[i] : std::min(perBlock, m_rowCount);
        std::vector<std::byte> block(blockSize);
        putWord(block, 0, inChain && i + 1 < chained ? static_cast<unsigned>(number(i + 1)) : 0);
        putWord(block, 2, inChain && i > 0 ? static_cast<unsigned>(number(i - 1)) : 0);
        putWord(block, 4, static_cast<unsigned>((static_cast<int>(rows) - 1) * m_recordSize) & 0xFFFFu);
        std::copy_n(m_records.begin() + static_cast<std::ptrdiff_t>(first * recordSize), rows * recordSize,
                    block.begin() + kBlockHead);
        if (partlyFilled) {
            // The room behind the last record still holds records deleted from it: the first rows again.
            const std::size_t stale = std::min(perBlock - rows, m_rowCount);
            std::copy_n(m_records.begin(), stale * recordSize,
                        block.begin() + static_cast<std::ptrdiff_t>(kBlockHead + rows * recordSize));
        }
        std::copy(block.begin(), block.end(),
                  file.begin() + static_cast<std::ptrdiff_t>(dataStart + position[i] * blockSize));
    }
    return file;
}

void TableWriter::writeFile(const std::filesystem::path& path, const BlockPlacement& placement) const {
    const std::vector<std::byte> bytes = build(placement);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw Error("Não foi possível gravar a tabela: " + path.string());
    }
}

} // namespace kalvian::paradox
