#include "invoice_table_query.h"

#include "paradox/field_decoders.h"
#include "vrk3/period_filter.h"

#include <cstring>

namespace kalvian {

namespace {

// The eight stored bytes as one machine word, for a comparison in one instruction.
std::uint64_t storedWord(const std::array<std::byte, 8>& bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data(), sizeof word);
    return word;
}

} // namespace

using paradox::FieldInfo;

void InvoiceTableQuery::setParameters(std::optional<double> registration, Period period) {
    m_registration = registration;
    m_period = period;
}

void InvoiceTableQuery::select(const paradox::Table& table) {
    if (!m_registration) {
        // Read all the same, so a damaged table is reported whatever was typed.
        setRecords(table.select([](std::span<const std::byte>) { return false; }));
        return;
    }
    // Rows are picked by their stored bytes: INSMUN equal to the registration's stored form (zero also
    // matches its negative twin), then DATA within the period.
    const FieldInfo& insmun = table.field("INSMUN");
    const PeriodFilter inPeriod(table, table.field("DATA"), m_period);
    const bool zero = *m_registration == 0.0;
    const std::uint64_t key = storedWord(paradox::encodeNumberKey(zero ? 0.0 : *m_registration));
    const std::uint64_t otherZero = zero ? storedWord(paradox::encodeNumberKey(-0.0)) : key;
    const auto offset = static_cast<std::size_t>(insmun.offset);
    paradox::RecordSet rows = table.select([&](std::span<const std::byte> record) {
        std::uint64_t stored = 0;
        std::memcpy(&stored, record.data() + offset, sizeof stored);
        return (stored == key || stored == otherZero) && inPeriod(record);
    });
    // The export walks them along the chain.
    rows.lineUpAlongChain();
    setRecords(std::move(rows));
}

void InvoiceTableQuery::first() {
    requireOpen();
    m_walk = RecordCursor(name(), table(), records(), records().chainOrder);
    m_walk.first();
}

std::unique_ptr<InvoiceQuery> InvoiceTableQuery::anotherCursor() const {
    requireOpen();
    return std::make_unique<RecordCursor>(name(), table(), records(), records().chainOrder);
}

} // namespace kalvian
