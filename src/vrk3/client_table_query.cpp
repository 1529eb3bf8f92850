#include "client_table_query.h"

#include "common/error.h"
#include "paradox/field_decoders.h"

#include <algorithm>

namespace kalvian {

namespace {

// Codes this many times more spread than the clients are looked up by binary search instead of by a
// table with a slot for every code.
constexpr std::int64_t kMaxSpreadPerClient = 4;

constexpr std::size_t kCacheLine = 64;

} // namespace

void ClientTableQuery::select(const paradox::Table& table) {
    const paradox::FieldInfo& code = table.field("CODCLI");
    m_byCode.clear();
    m_firstOfCode.clear();
    setRecords(table.select([](std::span<const std::byte>) { return true; }));
    for (const std::uint32_t index : records().chainOrder) {
        if (const auto value = paradox::integer(records().record(index), code)) {
            m_byCode.emplace_back(*value, index);
        }
    }
    // Tables keyed by CODCLI come in order already.
    const auto byCode = [](const auto& a, const auto& b) { return a.first < b.first; };
    if (!std::is_sorted(m_byCode.begin(), m_byCode.end(), byCode)) {
        std::stable_sort(m_byCode.begin(), m_byCode.end(), byCode);
    }
    if (m_byCode.empty()) {
        return;
    }
    m_lowestCode = m_byCode.front().first;
    const std::int64_t spread = std::int64_t{m_byCode.back().first} - m_lowestCode + 1;
    if (spread <= kMaxSpreadPerClient * static_cast<std::int64_t>(m_byCode.size()) + 1024) {
        m_firstOfCode.assign(static_cast<std::size_t>(spread), kNoRow);
        for (auto it = m_byCode.rbegin(); it != m_byCode.rend(); ++it) {
            m_firstOfCode[static_cast<std::size_t>(std::int64_t{it->first} - m_lowestCode)] = it->second;
        }
    }
}

std::uint32_t ClientTableQuery::rowOf(std::int32_t code) const {
    if (!m_firstOfCode.empty()) {
        const std::int64_t slot = std::int64_t{code} - m_lowestCode;
        const bool inside = slot >= 0 && slot < static_cast<std::int64_t>(m_firstOfCode.size());
        return inside ? m_firstOfCode[static_cast<std::size_t>(slot)] : kNoRow;
    }
    const auto entry = std::lower_bound(m_byCode.begin(), m_byCode.end(), code,
                                        [](const auto& e, std::int32_t wanted) { return e.first < wanted; });
    return entry != m_byCode.end() && entry->first == code ? entry->second : kNoRow;
}

bool ClientTableQuery::LocalizaCliente(std::int32_t code) {
    requireOpen();
    const std::uint32_t found = rowOf(code);
    if (found == kNoRow) {
        return false;
    }
    // A record of this opening's table: one of an earlier opening would know its columns.
    m_current = RowRecord(table());
    m_current.setRecord(records().record(found));
    return true;
}

void ClientTableQuery::prefetchRecord(std::int32_t code) const {
    const std::uint32_t row = isOpen() ? rowOf(code) : kNoRow;
    if (row == kNoRow) {
        return;
    }
    // Every cache line of the record: the block reads nearly all its fields.
    const std::span<const std::byte> record = records().record(row);
    for (std::size_t at = 0; at < record.size(); at += kCacheLine) {
        __builtin_prefetch(record.data() + at);
    }
    __builtin_prefetch(record.data() + record.size() - 1);
}

// Finds clients as the query does, with a record of its own: many readers may share the query's index and
// rows, which nothing changes while the query is open.
class ClientTableQuery::Reader : public ClientLookup {
public:
    explicit Reader(const ClientTableQuery& query) : m_query(query), m_current(query.table()) {}

    const SourceRecord* find(std::int32_t code) override {
        const std::uint32_t row = m_query.rowOf(code);
        if (row == kNoRow) {
            return nullptr;
        }
        m_current.setRecord(m_query.records().record(row));
        return &m_current;
    }
    void prefetch(std::int32_t code) override { m_query.prefetchRecord(code); }
    std::unique_ptr<ClientLookup> anotherLookup() const override { return m_query.anotherLookup(); }

private:
    const ClientTableQuery& m_query;
    RowRecord m_current;
};

std::unique_ptr<ClientLookup> ClientTableQuery::anotherLookup() const {
    requireOpen();
    return std::make_unique<Reader>(*this);
}

} // namespace kalvian
