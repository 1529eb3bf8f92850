#include "paradox/table.h"

#include "common/ascii_case.h"
#include "paradox/block_chain.h"
#include "paradox/buffer_source.h"
#include "paradox/field_decoders.h"
#include "paradox/file_source.h"
#include "paradox/paradox_layout.h"
#include "paradox/table_error.h"
#include "platform/huge_pages.h"

#include <algorithm>
#include <cstring>

namespace kalvian::paradox {

namespace {

using layout::kBlockHead;

// select() reads the file this much at a time: large reads, into a buffer that stays in the processor's
// cache while its records are sorted, as cat's does.
constexpr std::size_t kReadBytes = 256 << 10;

std::uint64_t blockOffset(const TableHeader& header, int number) {
    return static_cast<std::uint64_t>(header.headerSize) +
           static_cast<std::uint64_t>(number - 1) * static_cast<std::uint64_t>(header.blockSize);
}

CodePageText textFor(const ByteSource& source, int headerCodePage) {
    const int codePage = headerCodePage == 0 ? kDefaultCodePage : headerCodePage;
    std::optional<CodePageText> text = CodePageText::forCodePage(codePage);
    if (!text) {
        throw unsupportedCodePage(source.name(), codePage);
    }
    return *text;
}

// A header that does not read as one may be a file caught while another program rewrote it.
TableHeader headerOf(const ByteSource& source) {
    try {
        return readTableHeader(source);
    } catch (const Error&) {
        source.checkUnchanged();
        throw;
    }
}

// A name's first eight bytes as one word, zero-filled.
std::uint64_t namePrefix(std::string_view name) {
    std::uint64_t prefix = 0;
    std::memcpy(&prefix, name.data(), std::min<std::size_t>(name.size(), sizeof prefix));
    return prefix;
}

} // namespace

Table::Table(std::unique_ptr<ByteSource> source)
    : m_source(std::move(source)), m_header(headerOf(*m_source)),
      m_text(textFor(*m_source, m_header.codePage)) {
    for (FieldInfo& field : m_header.fields) {
        field.name = m_text.toWindows1252(std::as_bytes(std::span(field.name)));
        m_namePrefixes.push_back(namePrefix(field.name));
    }
}

Table Table::open(const std::string& path) {
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

template <class Reading> auto Table::checkedAgainstChange(const Reading& reading) const {
    try {
        auto result = reading();
        checkUnchanged();
        return result;
    } catch (const TableChanged&) {
        throw;
    } catch (const Error&) {
        checkUnchanged();
        throw;
    }
}

void Table::checkUnchanged() const {
    m_source->checkUnchanged();
    // One more read of the header: where a write in place keeps the size and the time (FAT's two seconds,
    // shares that set the time at closing), its counters have moved.
    std::vector<std::byte> now(m_header.bytes.size());
    if (m_source->readAt(0, now) != now.size() || now != m_header.bytes) {
        throw tableChanged(name());
    }
}

void Table::scanBlocks(const BlockCallback& onBlock) const {
    checkedAgainstChange([&] {
        walkChain(onBlock);
        return true;
    });
}

void Table::walkChain(const BlockCallback& onBlock) const {
    const auto recordSize = static_cast<std::size_t>(m_header.recordSize);
    const auto blockSize = static_cast<std::size_t>(m_header.blockSize);
    // Each block of the chain is read once, where it lies.
    std::vector<std::byte> buffer(blockSize);
    ChainCheck check(name(), m_header);
    for (int number = m_header.firstBlock; number != 0;) {
        check.reach(number);
        const std::size_t got = m_source->readAt(blockOffset(m_header, number), buffer);
        const std::span<const std::byte> block = std::span<const std::byte>(buffer).first(got);
        const BlockHead head = BlockHead::of(block, recordSize);
        const std::size_t count = check.records(number, head);
        if (count > 0) {
            onBlock(block.subspan(kBlockHead, count * recordSize));
        }
        number = head.next;
    }
    check.end();
}

std::vector<RecordSet> Table::readIntoBuckets(const BlockSorter& sorter, std::size_t expected,
                                              bool oneBucket) const {
    const auto recordSize = static_cast<std::size_t>(m_header.recordSize);
    const auto blockSize = static_cast<std::size_t>(m_header.blockSize);
    const std::size_t capacity = (blockSize - kBlockHead) / recordSize;
    const auto blocks = static_cast<std::size_t>(m_header.lastFileBlock);
    std::vector<RecordSet> buckets(1, RecordSet{recordSize, {}, {}});
    buckets.front().bytes.reserve(expected * recordSize);
    adviseHugePages(buckets.front().bytes.data(), expected * recordSize);
    // Where each kept record went, in file order, and each block's share of that list: what the chain
    // walk needs once the file has been read, with the blocks' heads. Into one bucket, a block's records
    // go one after another, so its first record's index and its count say it all and no list is kept.
    struct Kept {
        std::uint32_t bucket;
        std::uint32_t index;
    };
    std::vector<Kept> kept;
    std::size_t keptCount = 0; // as many as `kept` holds, where it is kept
    struct Block {
        BlockHead head;
        std::size_t firstKept = 0;
        std::size_t kept = 0;
    };
    std::vector<Block> facts(blocks + 1);
    std::vector<std::uint32_t> bucketOf(capacity);

    const std::size_t blocksPerRead = std::max<std::size_t>(1, kReadBytes / blockSize);
    // Not filled with zeros first: every read writes what is then looked at.
    const std::size_t bufferSize = blocksPerRead * blockSize;
    const std::unique_ptr<std::byte[]> bufferBytes(new std::byte[bufferSize]);
    const std::span<std::byte> buffer(bufferBytes.get(), bufferSize);
    for (std::size_t first = 1; first <= blocks; first += blocksPerRead) {
        const std::span<const std::byte> read =
            buffer.first(m_source->readAt(blockOffset(m_header, static_cast<int>(first)), buffer));
        for (std::size_t at = 0, number = first; at < read.size() && number <= blocks;
             at += blockSize, ++number) {
            const std::span<const std::byte> block = read.subspan(at, std::min(blockSize, read.size() - at));
            Block& fact = facts[number];
            fact.head = BlockHead::of(block, recordSize);
            fact.firstKept = keptCount;
            const std::size_t count = fact.head.records(recordSize, capacity).value_or(0);
            const std::byte* const records = block.data() + kBlockHead;
            sorter(std::span(records, count * recordSize), std::span(bucketOf).first(count));
            for (std::size_t r = 0; r < count; ++r) {
                const std::span<const std::byte> record(records + r * recordSize, recordSize);
                const std::uint32_t bucket = bucketOf[r];
                if (bucket == kSkip) {
                    continue;
                }
                if (bucket >= buckets.size()) {
                    buckets.resize(bucket + 1, RecordSet{recordSize, {}, {}});
                }
                std::vector<std::byte>& bytes = buckets[bucket].bytes;
                if (!oneBucket) {
                    kept.push_back({bucket, static_cast<std::uint32_t>(bytes.size() / recordSize)});
                }
                ++keptCount;
                bytes.insert(bytes.end(), record.begin(), record.end());
            }
            fact.kept = keptCount - fact.firstKept;
        }
        if (read.size() < buffer.size()) {
            break;
        }
    }

    ChainCheck check(name(), m_header);
    for (int number = m_header.firstBlock; number != 0;) {
        check.reach(number);
        const Block& fact = facts[static_cast<std::size_t>(number)];
        check.records(number, fact.head);
        for (std::size_t i = fact.firstKept; i < fact.firstKept + fact.kept; ++i) {
            if (oneBucket) {
                buckets.front().chainOrder.push_back(static_cast<std::uint32_t>(i));
            } else {
                buckets[kept[i].bucket].chainOrder.push_back(kept[i].index);
            }
        }
        number = fact.head.next;
    }
    check.end();
    return buckets;
}

RecordSet Table::selectBlocks(const BlockSorter& sorter) const {
    const auto blocks = static_cast<std::size_t>(m_header.lastFileBlock);
    const std::size_t capacity = (static_cast<std::size_t>(m_header.blockSize) - kBlockHead) /
                                 static_cast<std::size_t>(m_header.recordSize);
    // Room for every record the file's blocks can hold, free blocks' included (the header counts only those
    // of the chain), so the kept bytes never move; pages never written to are never taken from the system.
    const std::size_t most = blocks * capacity;
    std::vector<RecordSet> kept = checkedAgainstChange([&] { return readIntoBuckets(sorter, most, true); });
    return std::move(kept.front());
}

std::vector<RecordSet> Table::sortBlocks(const BlockSorter& sorter) const {
    return checkedAgainstChange([&] { return readIntoBuckets(sorter, 0, false); });
}

std::optional<std::string> Table::text(std::span<const std::byte> record, const FieldInfo& field) const {
    const std::span<const std::byte> bytes = storedText(record, field);
    if (bytes.empty()) {
        return std::nullopt;
    }
    return m_text.toWindows1252(bytes);
}

} // namespace kalvian::paradox
