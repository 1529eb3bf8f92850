#include "vrk3/period_invoices.h"

#include "vrk3/side_by_side.h"

#include <string>

namespace kalvian {

namespace {

using Groups = std::vector<InvoicesByRegistration::Group>;

// The two tables' groups, each in ascending order, merged into one entry per registration.
std::vector<RegistrationInvoices> merge(Groups& issued, Groups& received) {
    std::vector<RegistrationInvoices> merged;
    auto i = issued.begin();
    auto r = received.begin();
    while (i != issued.end() || r != received.end()) {
        const bool takeIssued =
            r == received.end() || (i != issued.end() && i->registration <= r->registration);
        const bool takeReceived =
            i == issued.end() || (r != received.end() && r->registration <= i->registration);
        RegistrationInvoices entry;
        entry.registration = takeIssued ? i->registration : r->registration;
        if (takeIssued) {
            entry.issued = std::move(i++->rows);
        }
        if (takeReceived) {
            entry.received = std::move(r++->rows);
        }
        merged.push_back(std::move(entry));
    }
    return merged;
}

} // namespace

PeriodInvoices::PeriodInvoices()
    : m_clients(clientQuery()), m_issued(issuedQuery()), m_received(receivedQuery()) {}

void PeriodInvoices::open(std::string_view folder, Period period) {
    const std::string database(folder);
    m_clients.setFolder(database);
    for (InvoicesByRegistration* query : {&m_issued, &m_received}) {
        query->setFolder(database);
        query->setPeriod(period);
    }
    openSideBySide({&m_clients, &m_issued, &m_received});
    m_registrations = merge(m_issued.groups(), m_received.groups());
    m_issued.groups().clear();
    m_received.groups().clear();
    m_unassigned = {m_issued.rowsWithoutRegistration() + m_received.rowsWithoutRegistration(),
                    m_issued.rowsWithInvalidRegistration() + m_received.rowsWithInvalidRegistration()};
}

RecordCursor PeriodInvoices::issued(const RegistrationInvoices& invoices) const {
    return RecordCursor(m_issued.name(), m_issued.openTable(), invoices.issued, invoices.issued.chainOrder);
}

RecordCursor PeriodInvoices::received(const RegistrationInvoices& invoices) const {
    return RecordCursor(m_received.name(), m_received.openTable(), invoices.received,
                        invoices.received.chainOrder);
}

} // namespace kalvian
