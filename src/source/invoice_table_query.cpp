#include "invoice_table_query.h"

#include "common/error.h"
#include "source/field_value.h"
#include "source/period_test.h"

#include <cstring>

namespace kalvian {

using paradox::FieldInfo;

void InvoiceTableQuery::setParameters(std::optional<double> registration, double start, double end) {
    m_registration = registration;
    m_start = start;
    m_end = end;
}

void InvoiceTableQuery::select(const paradox::Table& table) {
    const FieldInfo& insmun = table.field("INSMUN");
    const PeriodTest inPeriod(table, table.field("DATA"), m_start, m_end);
    // The stored form of the registration number; zero also matches its negative twin.
    const bool zero = m_registration == 0.0;
    const std::array<std::byte, 8> key = paradox::encodeNumberKey(zero ? 0.0 : m_registration.value_or(0));
    const std::array<std::byte, 8> otherZero = paradox::encodeNumberKey(-0.0);
    const bool selectsNothing = !m_registration.has_value();

    table.scan([&](std::span<const std::byte> record) {
        if (selectsNothing) {
            return;
        }
        const std::byte* stored = record.data() + insmun.offset;
        const bool declarant = std::memcmp(stored, key.data(), key.size()) == 0 ||
                               (zero && std::memcmp(stored, otherZero.data(), otherZero.size()) == 0);
        if (declarant && inPeriod(record)) {
            keep(record);
        }
    });
    m_position = 0;
}

void InvoiceTableQuery::first() {
    requireOpen();
    m_position = 0;
}

const SourceRecord& InvoiceTableQuery::current() const {
    if (eof()) {
        throw Error(name() + ": No current record");
    }
    m_current.setRecord(table(), row(m_position));
    return m_current;
}

} // namespace kalvian
