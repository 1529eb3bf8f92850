#include "cli/export_report.h"

#include <charconv>

namespace kalvian {

void printOutcome(std::ostream& out, std::ostream& err, const RegistrationExport& result) {
    (result.written ? out : err) << result.notice << '\n';
    if (result.written) {
        out << "Arquivo: " << result.file << '\n';
    }
}

void printOneLine(std::ostream& out, std::ostream& err, const RegistrationExport& result) {
    if (result.written) {
        out << "Inscrição " << result.registration << ": " << result.issued << " emitidas, "
            << result.received << " recebidas, " << result.file << '\n';
    } else {
        err << "Inscrição " << result.registration << ": " << result.notice << '\n';
    }
}

void printRunTotals(std::ostream& out, std::int64_t files, std::int64_t invoices, double seconds) {
    // "." whatever the locale, as in the export lines' amounts.
    char time[32];
    const auto written = std::to_chars(time, time + sizeof time, seconds, std::chars_format::fixed, 2);
    out << "Total: " << files << " arquivos, " << invoices << " notas em "
        << std::string_view(time, written.ptr) << " s\n";
}

} // namespace kalvian
