#include "source/table.h"

#include "common/ascii_case.h"
#include "source/buffer_source.h"
#include "source/file_source.h"
#include "source/paradox_layout.h"
#include "source/table_error.h"

#include <algorithm>
#include <cstring>

namespace kalvian::paradox {

namespace {

// Blocks are read a window at a time: chains usually run in file order, so one read serves many blocks.
constexpr std::size_t kWindowBytes = 256 * 1024;
using layout::kBlockHead;

CodePageText textFor(const ByteSource& source, int headerCodePage) {
    const int codePage = headerCodePage == 0 ? kDefaultCodePage : headerCodePage;
    std::optional<CodePageText> text = CodePageText::forCodePage(codePage);
    if (!text) {
        throw unsupportedCodePage(source.name(), codePage);
    }
    return *text;
}

std::string blockName(int number) {
    return "bloco " + std::to_string(number);
}

// A name's first eight bytes as one word, zero-filled.
std::uint64_t namePrefix(std::string_view name) {
    std::uint64_t prefix = 0;
    std::memcpy(&prefix, name.data(), std::min<std::size_t>(name.size(), sizeof prefix));
    return prefix;
}

// A reused buffer over a run of consecutive blocks.
class BlockWindow {
public:
    BlockWindow(const ByteSource& source, const TableHeader& header)
        : m_source(source), m_header(header),
          m_blocksPerWindow(
              std::max<std::size_t>(1, kWindowBytes / static_cast<std::size_t>(header.blockSize))),
          m_buffer(m_blocksPerWindow * static_cast<std::size_t>(header.blockSize)) {}

    // The bytes of block n that the file holds: a whole block, or less for a block cut by the end of the
    // file.
    std::span<const std::byte> block(int number) {
        if (number < m_first || number >= m_first + m_count) {
            m_first = number;
            m_filled = m_source.readAt(offsetOf(number), m_buffer);
            m_count = static_cast<int>(m_blocksPerWindow);
        }
        const std::size_t size = static_cast<std::size_t>(m_header.blockSize);
        const std::size_t start = static_cast<std::size_t>(number - m_first) * size;
        if (start >= m_filled) {
            return {};
        }
        return std::span<const std::byte>(m_buffer).subspan(start, std::min(size, m_filled - start));
    }

private:
    std::uint64_t offsetOf(int number) const {
        return static_cast<std::uint64_t>(m_header.headerSize) +
               static_cast<std::uint64_t>(number - 1) * static_cast<std::uint64_t>(m_header.blockSize);
    }

    const ByteSource& m_source;
    const TableHeader& m_header;
    std::size_t m_blocksPerWindow = 1;
    std::vector<std::byte> m_buffer;
    int m_first = 0;
    int m_count = 0;
    std::size_t m_filled = 0;
};

} // namespace

Table::Table(std::unique_ptr<ByteSource> source)
    : m_source(std::move(source)), m_header(readTableHeader(*m_source)),
      m_text(textFor(*m_source, m_header.codePage)) {
    for (FieldInfo& field : m_header.fields) {
        field.name = m_text.toWindows1252(std::as_bytes(std::span(field.name)));
        m_namePrefixes.push_back(namePrefix(field.name));
    }
}

Table Table::open(const std::filesystem::path& path) {
    return Table(std::make_unique<FileSource>(path));
}

Table Table::fromBytes(std::vector<std::byte> bytes, std::string name) {
    return Table(std::make_unique<BufferSource>(std::move(bytes), std::move(name)));
}

int Table::fieldIndex(std::string_view fieldName) const {
    const auto& all = m_header.fields;
    // Callers name fields as the tables spell them: the exact name is looked for first, a word at a time.
    const std::uint64_t prefix = namePrefix(fieldName);
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (m_namePrefixes[i] == prefix && all[i].name == fieldName) {
            return static_cast<int>(i);
        }
    }
    const auto found = std::find_if(all.begin(), all.end(), [&](const FieldInfo& field) {
        return equalsIgnoringAsciiCase(field.name, fieldName);
    });
    return found == all.end() ? -1 : static_cast<int>(found - all.begin());
}

const FieldInfo& Table::field(std::string_view fieldName) const {
    const int index = fieldIndex(fieldName);
    if (index < 0) {
        throw Error("Campo " + std::string(fieldName) + " não existe na tabela " + name());
    }
    return m_header.fields[static_cast<std::size_t>(index)];
}

void Table::scan(const RecordCallback& onRecord) const {
    const auto recordSize = static_cast<std::size_t>(m_header.recordSize);
    scanBlocks([&](std::span<const std::byte> records) {
        for (std::size_t at = 0; at < records.size(); at += recordSize) {
            onRecord(records.subspan(at, recordSize));
        }
    });
}

void Table::scanBlocks(const BlockCallback& onBlock) const {
    const auto damaged = [this](const std::string& what) { return damagedTable(name(), what); };
    const auto recordSize = static_cast<std::size_t>(m_header.recordSize);
    const std::size_t capacity = (static_cast<std::size_t>(m_header.blockSize) - kBlockHead) / recordSize;
    BlockWindow window(*m_source, m_header);
    std::vector<bool> visited(static_cast<std::size_t>(m_header.lastFileBlock) + 1, false);
    std::uint64_t delivered = 0;
    for (int number = m_header.firstBlock; number != 0;) {
        if (number > m_header.lastFileBlock) {
            throw damaged(blockName(number) + " fora do arquivo");
        }
        if (visited[static_cast<std::size_t>(number)]) {
            throw damaged("a cadeia de blocos volta ao " + blockName(number));
        }
        visited[static_cast<std::size_t>(number)] = true;
        const std::span<const std::byte> block = window.block(number);
        if (block.size() < kBlockHead) {
            throw damaged(blockName(number) + " fora do arquivo");
        }
        const int next = static_cast<int>(block[0]) | static_cast<int>(block[1]) << 8;
        // The offset of the block's last record; negative in an empty block.
        const auto lastOffset =
            static_cast<std::int16_t>(static_cast<unsigned>(block[4]) | static_cast<unsigned>(block[5]) << 8);
        std::size_t count = 0;
        if (lastOffset >= 0) {
            if (static_cast<std::size_t>(lastOffset) % recordSize != 0 ||
                static_cast<std::size_t>(lastOffset) / recordSize + 1 > capacity) {
                throw damaged(blockName(number) +
                              " com tamanho de dados inválido: " + std::to_string(lastOffset));
            }
            count = static_cast<std::size_t>(lastOffset) / recordSize + 1;
        }
        // A block cut short by the end of the file still yields the whole records it holds.
        count = std::min(count, (block.size() - kBlockHead) / recordSize);
        if (count > 0) {
            onBlock(block.subspan(kBlockHead, count * recordSize));
        }
        delivered += count;
        number = next;
    }
    if (delivered != m_header.recordCount) {
        throw damaged("os blocos têm " + std::to_string(delivered) + " registros e o cabeçalho declara " +
                      std::to_string(m_header.recordCount));
    }
}

std::optional<std::string> Table::text(std::span<const std::byte> record, const FieldInfo& field) const {
    std::span<const std::byte> bytes =
        record.subspan(static_cast<std::size_t>(field.offset), static_cast<std::size_t>(field.size));
    // The engine reads a stored text up to its first zero byte, whatever follows it.
    const auto end = std::find(bytes.begin(), bytes.end(), std::byte{0});
    bytes = bytes.first(static_cast<std::size_t>(end - bytes.begin()));
    if (bytes.empty()) {
        return std::nullopt;
    }
    return m_text.toWindows1252(bytes);
}

} // namespace kalvian::paradox
