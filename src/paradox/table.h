#pragma once

#include "paradox/byte_source.h"
#include "paradox/code_page_text.h"
#include "paradox/field_type.h"
#include "paradox/record_set.h"
#include "paradox/table_header.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalvian::paradox {

// Level 3.x headers record no code page. VRK 3 tables come from Brazilian DOS-era installations, whose
// Portuguese text is in code page 850; a level 4+ header whose code page word is 0 is read the same way.
inline constexpr int kDefaultCodePage = 850;

// A Paradox data table (.DB) of level 3.0, 3.5, 4, 5 or 7, read in place: only the header is held. scan()
// reads the data blocks one at a time, in the chain's order; select() and selectIntoBuckets() read them all
// in the order they lie, as cat would, and keep only the records asked for. Memo, blob, graphic and OLE
// fields are listed but their .MB file is never opened.
class Table {
public:
    using RecordCallback = std::function<void(std::span<const std::byte> record)>;
    // The records of one block, back to back: a multiple of recordSize() bytes.
    using BlockCallback = std::function<void(std::span<const std::byte> records)>;
    // Sets buckets[i] to the bucket of the i-th of one block's records, or to kSkip: one call per block, so
    // the loop over its records is the caller's own, with nothing called indirectly per record.
    using BlockSorter =
        std::function<void(std::span<const std::byte> records, std::span<std::uint32_t> buckets)>;
    static constexpr std::uint32_t kSkip = UINT32_MAX;

    // Reads and checks the header. Raises kalvian::Error for a missing, damaged, encrypted or
    // non-data file, or a code page the system cannot convert.
    static Table open(const std::string& path);
    // The same over bytes in memory; name stands for the file in messages.
    static Table fromBytes(std::vector<std::byte> bytes, std::string name);
    // The same over any source of bytes.
    static Table fromSource(std::unique_ptr<ByteSource> source);

    const std::string& name() const { return m_source->name(); }
    const std::vector<FieldInfo>& fields() const { return m_header.fields; }
    // The position of a field by name, ignoring ASCII case; -1 when there is none.
    int fieldIndex(std::string_view fieldName) const;
    // The field by name, ignoring ASCII case; raises kalvian::Error when there is none.
    const FieldInfo& field(std::string_view fieldName) const;
    int recordSize() const { return m_header.recordSize; }
    // The count the header declares; scan() checks that the blocks hold exactly that many.
    std::uint32_t recordCount() const { return m_header.recordCount; }
    // The code page text is converted from (the default for headers that name none).
    int codePage() const { return m_text.codePage(); }
    // Header byte 0x39: 3 = 3.0, 4 = 3.5, 5..9 = 4, 10..11 = 5, 12 = 7.
    int versionCode() const { return m_header.versionCode; }
    int blockSize() const { return m_header.blockSize; }

    // Calls onRecord with each record's recordSize() raw bytes, in the order of the data-block chain.
    // Raises kalvian::Error when the chain loops, points outside the file, a block is malformed, or the
    // blocks hold another number of records than the header declares; TableChanged when the file's header,
    // size or time moved while it was read. Records before the fault have been delivered by then, so a
    // caller keeps nothing of a failed scan.
    void scan(const RecordCallback& onRecord) const;
    // The same walk, handing over each block's records at once, for loops that want no call per record.
    void scanBlocks(const BlockCallback& onBlock) const;

    // The records `keep` accepts (keep(record) is true), with the chain's order of them. The data blocks are
    // read in file order, a few large reads in all, so each byte is read once and the cost does not depend on
    // the chain's order; `keep` sees the records of free blocks too, and must not count what it sees. Raises
    // kalvian::Error as scan() does.
    template <class Keep> RecordSet select(const Keep& keep) const {
        return selectBlocks(
            perBlock([&](std::span<const std::byte> record) { return keep(record) ? 0 : kSkip; }));
    }
    // The same reading, the records kept sorted into buckets numbered from 0 by bucketOf(record) (kSkip for
    // none), each bucket's records kept together with the chain's order of them. A bucket no record of the
    // chain reached has an empty order.
    template <class BucketOf> std::vector<RecordSet> selectIntoBuckets(const BucketOf& bucketOf) const {
        return sortBlocks(perBlock(bucketOf));
    }

    // An alpha field as Windows-1252 text, up to its first zero byte; nothing when that leaves no text
    // (a NULL field is all zeros).
    std::optional<std::string> text(std::span<const std::byte> record, const FieldInfo& field) const;
    // Writes the kept text of the fixed-width field (placeOverFill) of that text over `out`, which holds its
    // fill already; a NULL field writes nothing.
    void placeText(std::span<char> out, std::span<const std::byte> record, const FieldInfo& field,
                   Justify justify) const {
        m_text.placeOverFill(out, storedText(record, field), justify);
    }

private:
    explicit Table(std::unique_ptr<ByteSource> source);
    // An alpha field's bytes: the engine reads a stored text up to its first zero byte, whatever follows it.
    static std::span<const std::byte> storedText(std::span<const std::byte> record, const FieldInfo& field) {
        const std::span<const std::byte> bytes =
            record.subspan(static_cast<std::size_t>(field.offset), static_cast<std::size_t>(field.size));
        // A NULL field, and fields of a byte or a few (SERIE, MODU, RESTRB, ESTADO), are looked at without a
        // call.
        if (bytes[0] == std::byte{0}) {
            return {};
        }
        constexpr std::size_t kFewBytes = 4;
        if (bytes.size() <= kFewBytes) {
            std::size_t length = 0;
            while (length < bytes.size() && bytes[length] != std::byte{0}) {
                ++length;
            }
            return bytes.first(length);
        }
        const auto* const zero = static_cast<const std::byte*>(std::memchr(bytes.data(), 0, bytes.size()));
        return zero == nullptr ? bytes : bytes.first(static_cast<std::size_t>(zero - bytes.data()));
    }
    void walkChain(const BlockCallback& onBlock) const;
    // A sorter of blocks that asks bucketOf of each record, in line.
    template <class BucketOf> BlockSorter perBlock(const BucketOf& bucketOf) const {
        return [&bucketOf, size = static_cast<std::size_t>(recordSize())](std::span<const std::byte> records,
                                                                          std::span<std::uint32_t> buckets) {
            for (std::size_t i = 0; i < buckets.size(); ++i) {
                buckets[i] = static_cast<std::uint32_t>(bucketOf(records.subspan(i * size, size)));
            }
        };
    }
    RecordSet selectBlocks(const BlockSorter& sorter) const;
    std::vector<RecordSet> sortBlocks(const BlockSorter& sorter) const;
    // Room for `expected` records is made in bucket 0 beforehand. With oneBucket, the sorter gives no bucket
    // but 0 and kSkip.
    std::vector<RecordSet> readIntoBuckets(const BlockSorter& sorter, std::size_t expected,
                                           bool oneBucket) const;
    // Runs a reading; when it fails, a file changed meanwhile by another program is the message, as it
    // explains any fault found in it. A reading that succeeded is checked the same way.
    template <class Reading> auto checkedAgainstChange(const Reading& reading) const;
    // Raises TableChanged unless the header's bytes, the size and the time are those of the opening.
    void checkUnchanged() const;

    std::unique_ptr<ByteSource> m_source;
    TableHeader m_header;
    CodePageText m_text;
    // Per field: the first eight bytes of its name, so a lookup compares one word per field.
    std::vector<std::uint64_t> m_namePrefixes;
};

} // namespace kalvian::paradox
