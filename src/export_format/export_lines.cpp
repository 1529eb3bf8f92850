#include "export_lines.h"

#include "common/date_format.h"
#include "common/trim.h"
#include "export_format/client_block_layout.h"
#include "export_format/fill.h"
#include "export_format/number_format.h"

#include <string>

namespace kalvian {

namespace {

constexpr std::size_t kEmitidaWidth = 288;
constexpr std::size_t kRecebidaWidth = 307;

std::string linhaCurta(const SourceRecord& invoice, char dateSeparator) {
    std::string line = "C";
    appendDate(line, invoice.asDate("DATA"), dateSeparator);
    line += "11";
    // The import layout has the short line's SERIE left-justified, unlike the E and R lines.
    appendPreencheDireita(line, invoice.asText("SERIE"), 1, ' ');
    // The import layout wants the number twice: the first and the last of a range of one invoice.
    const std::string number = PreencheEsquerda(invoice.asText("NUMNF"), 8, '0');
    line += number;
    line += number;
    return line;
}

} // namespace

std::string LinhaCabecalho(std::string_view registration) {
    return "H" + PreencheEsquerda(registration, kRegistrationWidth, '0') + "40";
}

bool registrationFitsHeader(std::string_view registration) {
    return trimBlanks(registration).size() <= static_cast<std::size_t>(kRegistrationWidth);
}

std::string LinhaEmitida(const SourceRecord& invoice, ClientBlocks& clients, char dateSeparator) {
    // A field read twice by the layout is read once: reading a record changes nothing.
    const std::string modu = invoice.asText("MODU");
    if (modu == "X") {
        return linhaCurta(invoice, dateSeparator);
    }
    const std::int32_t client = invoice.asInteger("CODCLI");

    std::string line;
    line.reserve(kEmitidaWidth + 2); // room for the line end the writer adds
    line += 'E';
    appendDate(line, invoice.asDate("DATA"), dateSeparator);
    appendPreencheEsquerda(line, invoice.asText("SERIE"), 1, ' ');
    appendPreencheEsquerda(line, modu, 1, ' ');
    appendPreencheEsquerda(line, invoice.asText("NUMNF"), 8, '0');
    appendAmount(line, invoice.asNumber("VALNF"));
    appendAmount(line, invoice.asNumber("VALSER"));
    const std::string restrb = invoice.asText("RESTRB");
    appendPreencheEsquerda(line, restrb, 1, ' ');
    const double rate = invoice.asNumber("ALIQUO");
    appendRate(line, rate);
    // Withholding at the invoice's own rate when it is marked "R" and carries no rate of its own.
    const bool withheldAtOwnRate = restrb == "R" && invoice.asNumber("ALQRET") == 0;
    appendRate(line, withheldAtOwnRate ? rate : invoice.asNumber("ALQRET"));
    clients.append(line, client, kMissingTaker);
    return line;
}

std::string LinhaRecebida(const SourceRecord& invoice, ClientBlocks& clients, char dateSeparator) {
    const std::int32_t client = invoice.asInteger("CODCLI");
    const std::string date = formatDate(invoice.asDate("DATA"), dateSeparator);

    std::string line;
    line.reserve(kRecebidaWidth + 2);
    line += 'R';
    // The import layout wants DATA twice; the table's own DATEMI is never written.
    line += date;
    line += date;
    appendPreencheEsquerda(line, invoice.asText("SERIE"), 1, ' ');
    appendPreencheEsquerda(line, invoice.asText("MODU"), 1, ' ');
    appendPreencheEsquerda(line, invoice.asText("NUMNF"), 8, '0');
    appendAmount(line, invoice.asNumber("VALNF"));
    appendAmount(line, invoice.asNumber("VALSER"));
    appendRate(line, invoice.asNumber("ALIQUO"));
    appendAmount(line, invoice.asNumber("IMPRET"));
    clients.append(line, client, kMissingProvider);
    return line;
}

} // namespace kalvian
