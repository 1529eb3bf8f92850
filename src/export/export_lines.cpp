#include "export_lines.h"

#include "export/date_format.h"
#include "export/fill.h"
#include "export/number_format.h"

#include <string>

namespace kalvian {

namespace {

constexpr std::size_t kEmitidaWidth = 288;
constexpr std::size_t kRecebidaWidth = 307;

// The 226-byte block of the invoice's client; when none has that code, zeros and blanks with the
// placeholder in the name field (left blank for codes below 1).
void appendClientBlock(std::string& line, std::int32_t code, ClientLookup& clients, const char* placeholder) {
    if (const SourceRecord* client = clients.find(code)) {
        appendPreencheEsquerda(line, client->asText("INSMUN"), 11, '0');
        appendPreencheEsquerda(line, client->asText("NUMCNPJ"), 14, '0');
        appendPreencheEsquerda(line, client->asText("NUMCPF"), 11, '0');
        appendPreencheDireita(line, client->asText("NOME"), 70, ' ');
        appendPreencheDireita(line, client->asText("RUA"), 40, ' ');
        appendPreencheEsquerda(line, client->asText("NUMERO"), 5, '0');
        appendPreencheDireita(line, client->asText("COMPLE"), 15, ' ');
        appendPreencheDireita(line, client->asText("BAIRRO"), 30, ' ');
        appendPreencheDireita(line, client->asText("CIDADE"), 20, ' ');
        appendPreencheDireita(line, client->asText("ESTADO"), 2, ' ');
        appendPreencheEsquerda(line, client->asText("CEP"), 8, '0');
        return;
    }
    const std::string name = code < 1 ? std::string() : placeholder + (" (" + std::to_string(code) + ")");
    line.append(11 + 14 + 11, '0');
    appendPreencheDireita(line, name, 70, ' ');
    line.append(40, ' ');
    line.append(5, '0');
    line.append(15 + 30 + 20 + 2, ' ');
    line.append(8, '0');
}

std::string linhaCurta(const SourceRecord& invoice, char dateSeparator) {
    std::string line = "C";
    line += formatDate(invoice.asDate("DATA"), dateSeparator);
    line += "11";
    appendPreencheDireita(line, invoice.asText("SERIE"), 1, ' ');
    const std::string number = PreencheEsquerda(invoice.asText("NUMNF"), 8, '0');
    line += number;
    line += number;
    return line;
}

} // namespace

std::string LinhaCabecalho(std::string_view registration) {
    return "H" + PreencheEsquerda(registration, 11, '0') + "40";
}

std::string LinhaEmitida(const SourceRecord& invoice, ClientLookup& clients, char dateSeparator) {
    if (invoice.asText("MODU") == "X") {
        return linhaCurta(invoice, dateSeparator);
    }
    const std::int32_t client = invoice.asInteger("CODCLI");

    std::string line;
    line.reserve(kEmitidaWidth + 2); // room for the line end the writer adds
    line += 'E';
    line += formatDate(invoice.asDate("DATA"), dateSeparator);
    appendPreencheEsquerda(line, invoice.asText("SERIE"), 1, ' ');
    appendPreencheEsquerda(line, invoice.asText("MODU"), 1, ' ');
    appendPreencheEsquerda(line, invoice.asText("NUMNF"), 8, '0');
    line += formatAmount(invoice.asNumber("VALNF"));
    line += formatAmount(invoice.asNumber("VALSER"));
    appendPreencheEsquerda(line, invoice.asText("RESTRB"), 1, ' ');
    const double rate = invoice.asNumber("ALIQUO");
    line += formatRate(rate);
    // Withholding at the invoice's own rate when it is marked "R" and carries no rate of its own.
    const bool withheldAtOwnRate = invoice.asText("RESTRB") == "R" && invoice.asNumber("ALQRET") == 0;
    line += formatRate(withheldAtOwnRate ? rate : invoice.asNumber("ALQRET"));
    appendClientBlock(line, client, clients, "TOMADOR NAO ENCONTRADO");
    return line;
}

std::string LinhaRecebida(const SourceRecord& invoice, ClientLookup& clients, char dateSeparator) {
    const std::int32_t client = invoice.asInteger("CODCLI");
    const std::string date = formatDate(invoice.asDate("DATA"), dateSeparator);

    std::string line;
    line.reserve(kRecebidaWidth + 2);
    line += 'R';
    line += date;
    line += date;
    appendPreencheEsquerda(line, invoice.asText("SERIE"), 1, ' ');
    appendPreencheEsquerda(line, invoice.asText("MODU"), 1, ' ');
    appendPreencheEsquerda(line, invoice.asText("NUMNF"), 8, '0');
    line += formatAmount(invoice.asNumber("VALNF"));
    line += formatAmount(invoice.asNumber("VALSER"));
    line += formatRate(invoice.asNumber("ALIQUO"));
    line += formatAmount(invoice.asNumber("IMPRET"));
    appendClientBlock(line, client, clients, "PRESTADOR NAO ENCONTRADO");
    return line;
}

} // namespace kalvian
