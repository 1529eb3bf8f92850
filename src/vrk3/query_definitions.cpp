#include "vrk3/query_definitions.h"

#include "vrk3/table_files.h"

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

const QueryDefinition& issuedQuery() {
    static const QueryDefinition query{"qryEmitida", kIssuedTableFile, kEmitidaFields};
    return query;
}

const QueryDefinition& receivedQuery() {
    static const QueryDefinition query{"qryRecebida", kReceivedTableFile, kRecebidaFields};
    return query;
}

const QueryDefinition& clientQuery() {
    static const QueryDefinition query{"qryCliente", kClientTableFile, kClienteFields};
    return query;
}

} // namespace kalvian
