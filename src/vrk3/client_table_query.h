#pragma once

#include "common/source_record.h"
#include "vrk3/row_record.h"
#include "vrk3/table_query.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace kalvian {

// The client query: every client, in a stable order by CODCLI, with an index built at opening so a client
// is found by its code in O(1) where the codes lie close together, O(log n) otherwise.
class ClientTableQuery : public TableQuery, public ClientLookup {
public:
    using TableQuery::TableQuery;

    // Positions the query on the first client with that code in CODCLI order; false when there is none.
    bool LocalizaCliente(std::int32_t code);
    // The client LocalizaCliente last found, while the query stays open.
    const SourceRecord& current() const { return m_current; }

    const SourceRecord* find(std::int32_t code) override {
        return LocalizaCliente(code) ? &m_current : nullptr;
    }
    void prefetch(std::int32_t code) override { prefetchRecord(code); }
    std::unique_ptr<ClientLookup> anotherLookup() const override;

protected:
    void select(const paradox::Table& table) override;
    void afterClose() override {
        m_byCode.clear();
        m_firstOfCode.clear();
    }

private:
    static constexpr std::uint32_t kNoRow = 0xFFFFFFFF;

    class Reader;

    // The row of the first client with that code, or kNoRow.
    std::uint32_t rowOf(std::int32_t code) const;
    void prefetchRecord(std::int32_t code) const;

    // (CODCLI, row) in CODCLI order, rows of one code in chain order. Clients without a code are never
    // found.
    std::vector<std::pair<std::int32_t, std::uint32_t>> m_byCode;
    // Where the codes lie close together: the first row of each code from the lowest one on, or kNoRow.
    std::vector<std::uint32_t> m_firstOfCode;
    std::int32_t m_lowestCode = 0;
    RowRecord m_current;
};

} // namespace kalvian
