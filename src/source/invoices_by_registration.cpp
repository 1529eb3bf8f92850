#include "source/invoices_by_registration.h"

#include "source/field_decoders.h"
#include "source/period_filter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <unordered_map>

namespace kalvian {

void InvoicesByRegistration::setPeriod(double start, double end) {
    m_start = start;
    m_end = end;
}

void InvoicesByRegistration::select(const paradox::Table& table) {
    afterClose();
    const paradox::FieldInfo& insmun = table.field("INSMUN");
    const PeriodFilter inPeriod(table, table.field("DATA"), m_start, m_end);
    keep(table.select(inPeriod));
    // Groups by the value's bits; neighbouring rows mostly share a registration, so the last group found
    // is tried before the map.
    std::unordered_map<std::uint64_t, std::size_t> groupOf;
    std::uint64_t lastKey = 0;
    std::vector<std::uint32_t>* lastRows = nullptr;
    for (const std::uint32_t index : selected().chainOrder) {
        const std::optional<double> stored = paradox::number(selected().record(index), insmun);
        if (!stored) {
            ++m_withoutRegistration;
            continue;
        }
        if (!std::isfinite(*stored)) {
            ++m_withInvalidRegistration;
            continue;
        }
        const double registration = *stored + 0.0; // -0 becomes 0
        const auto key = std::bit_cast<std::uint64_t>(registration);
        if (lastRows == nullptr || key != lastKey) {
            const auto [found, added] = groupOf.try_emplace(key, m_groups.size());
            if (added) {
                m_groups.push_back({registration, {}});
            }
            lastKey = key;
            lastRows = &m_groups[found->second].rows;
        }
        lastRows->push_back(index);
    }
    std::sort(m_groups.begin(), m_groups.end(),
              [](const Group& a, const Group& b) { return a.registration < b.registration; });
}

void InvoicesByRegistration::afterClose() {
    m_groups = {};
    m_withoutRegistration = 0;
    m_withInvalidRegistration = 0;
}

} // namespace kalvian
