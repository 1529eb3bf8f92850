#pragma once

#include "common/field_value.h"
#include "common/invoice_query.h"
#include "common/source_record.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kalvian {

// A source record held in memory: named values, looked up by name regardless of letter case.
class MemoryRecord : public SourceRecord {
public:
    MemoryRecord() = default;
    MemoryRecord(std::initializer_list<std::pair<std::string, FieldValue>> fields);

    void set(const std::string& field, FieldValue value);

    std::string asText(std::string_view field) const override;
    double asNumber(std::string_view field) const override;
    std::int32_t asInteger(std::string_view field) const override;
    double asDate(std::string_view field) const override;

private:
    const FieldValue& value(std::string_view field) const;

    std::vector<std::pair<std::string, FieldValue>> m_fields;
};

// Clients held in memory, kept in a stable order by CODCLI so that the first of a repeated code wins.
class MemoryClients : public ClientLookup {
public:
    explicit MemoryClients(std::vector<MemoryRecord> clients = {});

    const SourceRecord* find(std::int32_t code) override;
    std::unique_ptr<ClientLookup> anotherLookup() const override {
        return std::make_unique<MemoryClients>(*this);
    }

private:
    std::vector<MemoryRecord> m_clients;
    std::unordered_map<std::int32_t, std::size_t> m_firstByCode;
};

// Invoices held in memory, walked in the order given.
class MemoryQuery : public InvoiceQuery {
public:
    explicit MemoryQuery(std::vector<MemoryRecord> rows = {}) : m_rows(std::move(rows)) {}

    std::int64_t rowCount() const override { return static_cast<std::int64_t>(m_rows.size()); }
    void first() override { m_position = 0; }
    bool eof() const override { return m_position >= m_rows.size(); }
    void next() override { ++m_position; }
    const SourceRecord& current() const override { return m_rows.at(m_position); }
    std::unique_ptr<InvoiceQuery> anotherCursor() const override {
        return std::make_unique<MemoryQuery>(m_rows);
    }

private:
    std::vector<MemoryRecord> m_rows;
    std::size_t m_position = 0;
};

} // namespace kalvian
