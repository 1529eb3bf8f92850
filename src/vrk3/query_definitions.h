#pragma once

#include "vrk3/query_schema.h"

#include <vector>

namespace kalvian {

// A source query as the window declares it: its name (in messages), the table file it reads and the
// fields it requires of that table.
struct QueryDefinition {
    const char* name;
    const char* tableFile;
    const std::vector<DeclaredField>& fields;
};

// qryEmitida over DSEMI, qryRecebida over DSREC, qryCliente over DSCLI.
const QueryDefinition& issuedQuery();
const QueryDefinition& receivedQuery();
const QueryDefinition& clientQuery();

} // namespace kalvian
