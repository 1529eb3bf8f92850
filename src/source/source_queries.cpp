#include "source_queries.h"

#include "source/registration.h"
#include "source/table_files.h"
#include "source/wait_cursor.h"

#include <string>

namespace kalvian {

namespace {

using enum DeclaredType;

const std::vector<DeclaredField> kEmitidaFields = {
    {"INSMUN", Float},  {"DATA", Date},     {"SERIE", String},   {"NUMNF", Integer}, {"MODU", String},
    {"VALNF", Float},   {"VALSER", Float},  {"RESTRB", String},  {"ALIQUO", Float},  {"ALQRET", Float},
    {"SITPAG", String}, {"TIPDOC", String}, {"CODCLI", Integer},
};

const std::vector<DeclaredField> kRecebidaFields = {
    {"KEY", Integer},   {"INSMUN", Float}, {"DATA", Date},     {"CODCLI", Integer}, {"SERIE", String},
    {"NUMNF", Integer}, {"DATEMI", Date},  {"MODU", String},   {"VALNF", Float},    {"VALSER", Float},
    {"ALIQUO", Float},  {"IMPRET", Float}, {"SITPAG", String}, {"TIPDOC", String},
};

const std::vector<DeclaredField> kClienteFields = {
    {"CODCLI", Integer}, {"INSMUN", Float},   {"NUMCNPJ", String}, {"NUMCPF", String}, {"NOME", String},
    {"RUA", String},     {"NUMERO", Integer}, {"COMPLE", String},  {"BAIRRO", String}, {"CIDADE", String},
    {"ESTADO", String},  {"CEP", String},     {"TOMADO", String},  {"PRESTA", String},
};

} // namespace

SourceQueries::SourceQueries()
    : m_emitida("qryEmitida", kIssuedTableFile, kEmitidaFields),
      m_recebida("qryRecebida", kReceivedTableFile, kRecebidaFields),
      m_cliente("qryCliente", kClientTableFile, kClienteFields) {}

bool SourceQueries::AbreConsultas(std::string_view registration, double start, double end,
                                  std::string_view folder, QueryHost& host) {
    const WaitCursor waiting(host);
    const std::optional<double> number = registrationNumber(registration);
    const std::string database(folder);

    m_cliente.setFolder(database);
    m_cliente.open();
    for (InvoiceTableQuery* query : {&m_emitida, &m_recebida}) {
        query->setFolder(database);
        query->setParameters(number, start, end);
        query->open();
    }
    return m_cliente.isOpen() && m_emitida.isOpen() && m_recebida.isOpen();
}

void SourceQueries::FechaConsultas() {
    m_emitida.close();
    m_recebida.close();
    m_cliente.close();
}

} // namespace kalvian
