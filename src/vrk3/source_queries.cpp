#include "source_queries.h"

#include "vrk3/registration.h"
#include "vrk3/side_by_side.h"
#include "vrk3/wait_cursor.h"

#include <string>

namespace kalvian {

SourceQueries::SourceQueries()
    : m_emitida(issuedQuery()), m_recebida(receivedQuery()), m_cliente(clientQuery()) {}

bool SourceQueries::AbreConsultas(std::string_view registration, Period period, std::string_view folder,
                                  QueryHost& host) {
    const WaitCursor waiting(host);
    const std::optional<double> number = registrationNumber(registration);
    const std::string database(folder);

    m_cliente.setFolder(database);
    for (InvoiceTableQuery* query : {&m_emitida, &m_recebida}) {
        query->setFolder(database);
        query->setParameters(number, period);
    }
    openSideBySide({&m_cliente, &m_emitida, &m_recebida});
    return m_cliente.isOpen() && m_emitida.isOpen() && m_recebida.isOpen();
}

void SourceQueries::FechaConsultas() {
    m_emitida.close();
    m_recebida.close();
    m_cliente.close();
}

} // namespace kalvian
