#pragma once

#include "common/date_serial.h"
#include "vrk3/client_table_query.h"
#include "vrk3/invoice_table_query.h"
#include "vrk3/query_host.h"

#include <string_view>

namespace kalvian {

// The three queries of the window: issued invoices (qryEmitida over DSEMI), received invoices (qryRecebida
// over DSREC) and clients (qryCliente over DSCLI). They are closed until a query step opens them.
class SourceQueries {
public:
    SourceQueries();

    InvoiceTableQuery& emitida() { return m_emitida; }
    InvoiceTableQuery& recebida() { return m_recebida; }
    ClientTableQuery& cliente() { return m_cliente; }

    // Opens the client query, then the issued and the received invoices of the registration number and
    // period, all from the folder, with the wait cursor showing meanwhile. Queries opened before a failure
    // stay open. True when all three are open.
    bool AbreConsultas(std::string_view registration, Period period, std::string_view folder,
                       QueryHost& host);
    // Closes the issued, the received and the client query, in that order.
    void FechaConsultas();

private:
    InvoiceTableQuery m_emitida;
    InvoiceTableQuery m_recebida;
    ClientTableQuery m_cliente;
};

} // namespace kalvian
