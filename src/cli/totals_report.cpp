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
    for (const std::int64_t code : totals.codigosSemCliente) {
        codes += (codes.empty() ? totals.codigosSemCliente.size() == 1 ? "código " : "códigos " : ", ") +
                 std::to_string(code);
    }
    if (totals.maisCodigos) {
        codes += ", ...";
    }
    std::string withoutCode;
    if (totals.semClienteSemCodigo > 0) {
        withoutCode = totals.semClienteSemCodigo == totals.semCliente
                          ? "sem código"
                          : std::to_string(totals.semClienteSemCodigo) + " sem código";
    }
    const std::string both = codes + (codes.empty() || withoutCode.empty() ? "" : "; ") + withoutCode;
    return both.empty() ? "" : " (" + both + ")";
}

} // namespace

void printCounts(std::ostream& out, std::int64_t issued, std::int64_t received) {
    out << "Emitidas: " << issued << "\nRecebidas: " << received << "\nTotal: " << issued + received << '\n';
}

void printTotals(std::ostream& out, const ExportTotals& totals) {
    out << "Notas X (linhas C): " << totals.emitidasX << '\n'
        << "Valor das notas emitidas: " << brazilian(totals.valorEmitidas) << '\n'
        << "Valor dos serviços emitidos: " << brazilian(totals.servicosEmitidas) << '\n'
        << "Valor das notas recebidas: " << brazilian(totals.valorRecebidas) << '\n'
        << "Valor dos serviços recebidos: " << brazilian(totals.servicosRecebidas) << '\n'
        << "Imposto retido: " << brazilian(totals.impostoRetido) << '\n'
        << "Sem cliente encontrado: " << totals.semCliente << missingClients(totals) << '\n';
    if (totals.leiturasAmbiguas > 0) {
        out << "Atenção: " << totals.leiturasAmbiguas
            << (totals.leiturasAmbiguas == 1 ? " linha tem" : " linhas têm")
            << " valores em notação geral colados ao campo seguinte, que se leem de duas maneiras; os "
               "totais usam o expoente mais longo\n";
    }
}

} // namespace kalvian
