#pragma once

#include "vrk3/client_table_query.h"
#include "vrk3/invoices_by_registration.h"
#include "vrk3/record_cursor.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace kalvian {

// One registration's invoices of the period, as the window's two invoice queries would select them.
struct RegistrationInvoices {
    double registration = 0;
    paradox::RecordSet issued;   // DSEMI rows
    paradox::RecordSet received; // DSREC rows
};

// Invoices of the period that no registration can select, by why.
struct UnassignedInvoices {
    std::size_t withoutRegistration = 0; // INSMUN NULL
    std::size_t invalidRegistration = 0; // INSMUN NaN or infinite
    std::size_t total() const { return withoutRegistration + invalidRegistration; }
};

// Every registration's invoices of a period, read with one pass over each table, and the clients: what an
// export of all registrations needs. Memory holds the rows of the period and the clients, never a table per
// registration.
class PeriodInvoices {
public:
    PeriodInvoices();

    // Opens the client query, then gathers the issued and the received invoices of the period, with the
    // window's query names and checks. Raises kalvian::Error as the window's query step does.
    void open(std::string_view folder, Period period);

    // In ascending order of registration; each one's rows may be released once exported.
    std::vector<RegistrationInvoices>& registrations() { return m_registrations; }
    const UnassignedInvoices& unassigned() const { return m_unassigned; }
    ClientTableQuery& clients() { return m_clients; }
    // Walks over a registration's rows, as the window's qryEmitida and qryRecebida.
    RecordCursor issued(const RegistrationInvoices& invoices) const;
    RecordCursor received(const RegistrationInvoices& invoices) const;

private:
    ClientTableQuery m_clients;
    InvoicesByRegistration m_issued;
    InvoicesByRegistration m_received;
    std::vector<RegistrationInvoices> m_registrations;
    UnassignedInvoices m_unassigned;
};

} // namespace kalvian
