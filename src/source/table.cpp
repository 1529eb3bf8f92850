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

Table Table::fromSource(std::unique_ptr<ByteSource> source) {
    return Table(std::move(source));
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
    try {
        walkChain(onBlock);
    } catch (const Error&) {
        // A file changed by another program explains any fault found in it.
        m_source->checkUnchanged();
        throw;
    }
    m_source->checkUnchanged();
}

void Table::walkChain(const BlockCallback& onBlock) const {
    const auto damaged = [this](const std::string& what) { return damagedTable(name(), what); };
    const auto recordSize = static_cast<std::size_t>(m_header.recordSize);
    const auto blockSize = static_cast<std::size_t>(m_header.blockSize);
    const std::size_t capacity = (blockSize - kBlockHead) / recordSize;
    // Each block of the chain is read once, where it lies: the cost does not depend on the chain's order.
    std::vector<std::byte> buffer(blockSize);
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
        const std::uint64_t offset = static_cast<std::uint64_t>(m_header.headerSize) +
                                     static_cast<std::uint64_t>(number - 1) * blockSize;
        // A block cut by the end of the file gives what the file holds of it.
        const std::span<const std::byte> block =
            std::span<const std::byte>(buffer).first(m_source->readAt(offset, buffer));
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
    while (!bytes.empty() && bytes.back() == std::byte{0}) {
        bytes = bytes.first(bytes.size() - 1);
    }
    if (bytes.empty()) {
        return std::nullopt;
    }
    return m_text.toWindows1252(bytes);
}

} // namespace kalvian::paradox
