#pragma once

#include "export_check/export_totals.h"

#include <cstdint>
#include <ostream>
#include <string>

namespace kalvian {

// What the export of one registration gave, for the lines the command line prints about it.
struct RegistrationExport {
    std::string registration{};
    std::int64_t issued = 0;
    std::int64_t received = 0;
    bool written = false;
    std::string file{};    // the file written
    std::string notice{};  // the run's last notice: its success, or why it wrote nothing
    ExportTotals totals{}; // what the file written holds, read back from its lines
};

// After the export of a registration named on the command line: the notice (on err when nothing was written)
// and the file written.
void printOutcome(std::ostream& out, std::ostream& err, const RegistrationExport& result);
// Under --todas, everything in one line: "Inscrição N: E emitidas, R recebidas, ARQUIVO" on out, or
// "Inscrição N: why" on err.
void printOneLine(std::ostream& out, std::ostream& err, const RegistrationExport& result);
// Under --todas, after the last registration: "Total: F arquivos, N notas em S s".
void printRunTotals(std::ostream& out, std::int64_t files, std::int64_t invoices, double seconds);

} // namespace kalvian
