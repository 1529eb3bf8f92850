#include "vrk3/invoices_by_registration.h"

#include "paradox/field_decoders.h"
#include "vrk3/period_filter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <unordered_map>

namespace kalvian {

void InvoicesByRegistration::select(const paradox::Table& table) {
    afterClose();
    const paradox::FieldInfo& insmun = table.field("INSMUN");
    const PeriodFilter inPeriod(table, table.field("DATA"), m_period);
    // Buckets: rows without a registration, rows whose registration is no finite number, then one per
    // registration as they are met. Neighbouring rows mostly share a registration, so the last one met is
    // tried before the map.
    constexpr std::uint32_t kWithout = 0;
    constexpr std::uint32_t kInvalid = 1;
    std::vector<double> registrations;
    std::unordered_map<std::uint64_t, std::uint32_t> bucketOf;
    std::uint64_t lastKey = 0;
    std::uint32_t lastBucket = paradox::Table::kSkip;
    std::vector<paradox::RecordSet> buckets = table.selectIntoBuckets([&](std::span<const std::byte> record) {
        if (!inPeriod(record)) {
            return paradox::Table::kSkip;
        }
        const std::optional<double> stored = paradox::number(record, insmun);
        if (!stored) {
            return kWithout;
        }
        if (!std::isfinite(*stored)) {
            return kInvalid;
        }
        const double registration = *stored + 0.0; // -0 becomes 0
        const auto key = std::bit_cast<std::uint64_t>(registration);
        if (lastBucket == paradox::Table::kSkip || key != lastKey) {
            const auto [found, added] =
                bucketOf.try_emplace(key, static_cast<std::uint32_t>(registrations.size() + 2));
            if (added) {
                registrations.push_back(registration);
            }
            lastKey = key;
            lastBucket = found->second;
        }
        return lastBucket;
    });
    buckets.resize(registrations.size() + 2, paradox::RecordSet{});
    m_withoutRegistration = buckets[kWithout].chainOrder.size();
    m_withInvalidRegistration = buckets[kInvalid].chainOrder.size();
    for (std::size_t i = 0; i < registrations.size(); ++i) {
        // A registration met only in free blocks has no row in the chain.
        if (!buckets[i + 2].chainOrder.empty()) {
            buckets[i + 2].lineUpAlongChain();
            m_groups.push_back({registrations[i], std::move(buckets[i + 2])});
        }
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
