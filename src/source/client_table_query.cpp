#include "client_table_query.h"

#include "source/field_value.h"

#include <algorithm>

namespace kalvian {

void ClientTableQuery::select(const paradox::Table& table) {
    const paradox::FieldInfo& code = table.field("CODCLI");
    m_byCode.clear();
    std::uint32_t index = 0;
    table.scan([&](std::span<const std::byte> record) {
        if (const auto value = paradox::integer(record, code)) {
            m_byCode.emplace_back(*value, index);
        }
        keep(record);
        ++index;
    });
    std::stable_sort(m_byCode.begin(), m_byCode.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

bool ClientTableQuery::LocalizaCliente(std::int32_t code) {
    requireOpen();
    const auto found =
        std::lower_bound(m_byCode.begin(), m_byCode.end(), code,
                         [](const auto& entry, std::int32_t wanted) { return entry.first < wanted; });
    if (found == m_byCode.end() || found->first != code) {
        return false;
    }
    m_current.setRecord(table(), row(found->second));
    return true;
}

} // namespace kalvian
