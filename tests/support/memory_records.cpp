#include "memory_records.h"

#include "common/ascii_case.h"
#include "common/error.h"

#include <algorithm>

namespace kalvian {

MemoryRecord::MemoryRecord(std::initializer_list<std::pair<std::string, FieldValue>> fields)
    : m_fields(fields) {}

void MemoryRecord::set(const std::string& field, FieldValue value) {
    const auto it = std::find_if(m_fields.begin(), m_fields.end(), [&](const auto& entry) {
        return equalsIgnoringAsciiCase(entry.first, field);
    });
    if (it == m_fields.end()) {
        m_fields.emplace_back(field, std::move(value));
    } else {
        it->second = std::move(value);
    }
}

const FieldValue& MemoryRecord::value(std::string_view field) const {
    const auto it = std::find_if(m_fields.begin(), m_fields.end(), [&](const auto& entry) {
        return equalsIgnoringAsciiCase(entry.first, field);
    });
    if (it == m_fields.end()) {
        throw Error("Field '" + std::string(field) + "' not found");
    }
    return it->second;
}

std::string MemoryRecord::asText(std::string_view field) const {
    return valueAsText(value(field));
}

double MemoryRecord::asNumber(std::string_view field) const {
    return valueAsNumber(value(field), field);
}

std::int32_t MemoryRecord::asInteger(std::string_view field) const {
    return valueAsInteger(value(field), field);
}

double MemoryRecord::asDate(std::string_view field) const {
    return valueAsDate(value(field), field);
}

MemoryClients::MemoryClients(std::vector<MemoryRecord> clients) : m_clients(std::move(clients)) {
    std::stable_sort(m_clients.begin(), m_clients.end(), [](const MemoryRecord& a, const MemoryRecord& b) {
        return a.asInteger("CODCLI") < b.asInteger("CODCLI");
    });
    for (std::size_t i = 0; i < m_clients.size(); ++i) {
        m_firstByCode.try_emplace(m_clients[i].asInteger("CODCLI"), i);
    }
}

const SourceRecord* MemoryClients::find(std::int32_t code) {
    const auto it = m_firstByCode.find(code);
    return it == m_firstByCode.end() ? nullptr : &m_clients[it->second];
}

} // namespace kalvian
