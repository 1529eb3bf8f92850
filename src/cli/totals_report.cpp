#include "totals_report.h"

#include <string>

namespace kalvian {

namespace {

std::string brazilian(const ExactSum& sum) {
    return sum.text(',', '.');
}

// "(códigos 57, 999, ...; 2 sem código)", or nothing when every client was found.
std::string missingClients(const ExportTotals& totals) {
    std::string codes;
    for (const std::int64_t code : totals.missingClientCodes) {
        codes += (codes.empty() ? totals.missingClientCodes.size() == 1 ? "código " : "códigos " : ", ") +
                 std::to_string(code);
    }
    if (totals.moreMissingCodes) {
        codes += ", ...";
    }
    std::string withoutCode;
    if (totals.withoutClientCode > 0) {
        withoutCode = totals.withoutClientCode == totals.withoutClient
                          ? "sem código"
                          : std::to_string(totals.withoutClientCode) + " sem código";
    }
    const std::string both = codes + (codes.empty() || withoutCode.empty() ? "" : "; ") + withoutCode;
    return both.empty() ? "" : " (" + both + ")";
}

} // namespace

void printCounts(std::ostream& out, std::int64_t issued, std::int64_t received) {
    out << "Emitidas: " << issued << "\nRecebidas: " << received << "\nTotal: " << issued + received << '\n';
}

void printTotals(std::ostream& out, const ExportTotals& totals) {
    out << "Notas X (linhas C): " << totals.issuedShort << '\n'
        << "Valor das notas emitidas: " << brazilian(totals.issuedValue) << '\n'
        << "Valor dos serviços emitidos: " << brazilian(totals.issuedServices) << '\n'
        << "Valor das notas recebidas: " << brazilian(totals.receivedValue) << '\n'
        << "Valor dos serviços recebidos: " << brazilian(totals.receivedServices) << '\n'
        << "Imposto retido: " << brazilian(totals.withheldTax) << '\n'
        << "Sem cliente encontrado: " << totals.withoutClient << missingClients(totals) << '\n';
    if (totals.ambiguousReadings > 0) {
        out << "Atenção: " << totals.ambiguousReadings
            << (totals.ambiguousReadings == 1 ? " linha tem" : " linhas têm")
            << " valores em notação geral colados ao campo seguinte, que se leem de duas maneiras; os "
               "totais usam o expoente mais longo\n";
    }
}

} // namespace kalvian
