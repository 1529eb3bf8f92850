#pragma once

#include "export_check/export_totals.h"

#include <cstdint>
#include <ostream>

namespace kalvian {

// The counts as the window shows them: "Emitidas", "Recebidas", "Total".
void printCounts(std::ostream& out, std::int64_t issued, std::int64_t received);

// What an export file holds, printed alike after an export and by --conferir so the two can be compared:
// the "X" invoices, the sums of the amounts the Brazilian way (1.234.567,89) and the invoices whose client
// was not found, with up to ten of their codes.
void printTotals(std::ostream& out, const ExportTotals& totals);

} // namespace kalvian
