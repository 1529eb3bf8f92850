#include "export_lines.h"

#include "common/date_format.h"
#include "export_format/client_block_layout.h"
#include "export_format/fill.h"
#include "export_format/number_format.h"

#include <array>
#include <span>
#include <string>

namespace kalvian {

namespace {

constexpr std::size_t kEmitidaWidth = 288;
constexpr std::size_t kRecebidaWidth = 307;

// SERIE, MODU and NUMNF, side by side as the E and R lines hold them, read at once.
constexpr std::array<FixedWidthField, 3> kInvoiceNumber = {{
    {"SERIE", 1, ' ', Justify::Right},
    {"MODU", 1, ' ', Justify::Right},
    {"NUMNF", 8, '0', Justify::Right},
}};
constexpr std::size_t kInvoiceNumberWidth = fieldOffset(kInvoiceNumber, "");
constexpr std::size_t kNumnfOffset = fieldOffset(kInvoiceNumber, "NUMNF");

void appendInvoiceNumber(std::string& line, const SourceRecord& invoice) {
    const std::size_t start = line.size();
    line.resize(start + kInvoiceNumberWidth);
    invoice.placeFields(kInvoiceNumber, std::span(line).subspan(start));
}

std::string linhaCurta(const SourceRecord& invoice, char dateSeparator) {
    std::string line = "C";
    appendDate(line, invoice.asDate("DATA"), dateSeparator);
    line += "11";
    std::array<char, kInvoiceNumberWidth> number;
    invoice.placeFields(kInvoiceNumber, number);
    // The import layout has the short line's SERIE left-justified, unlike the E and R lines: in one byte
    // that is the same.
    line += number[0];
    // The import layout wants the number twice: the first and the last of a range of one invoice.
    const std::string_view numnf(number.data() + kNumnfOffset, number.size() - kNumnfOffset);
    line += numnf;
    line += numnf;
    return line;
}

} // namespace

std::string LinhaCabecalho(std::string_view registration) {
    return "H" + PreencheEsquerda(registration, 11, '0') + "40";
}

std::string LinhaEmitida(const SourceRecord& invoice, ClientBlocks& clients, char dateSeparator) {
    // A field read twice by the layout is read once: reading a record changes nothing.
    const std::string modu = invoice.asText("MODU");
    if (modu == "X") {
        return linhaCurta(invoice, dateSeparator);
    }
    // The client comes last: it is asked for first, so it is on its way while the fields before it are built.
    const std::int32_t client = invoice.asInteger("CODCLI");
    clients.prefetch(client);

    std::string line;
    line.reserve(kEmitidaWidth + 2); // room for the line end the writer adds
    line += 'E';
    appendDate(line, invoice.asDate("DATA"), dateSeparator);
    appendInvoiceNumber(line, invoice);
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
    clients.prefetch(client);

    std::string line;
    line.reserve(kRecebidaWidth + 2);
    line += 'R';
    // The import layout wants DATA twice; the table's own DATEMI is never written.
    appendDate(line, invoice.asDate("DATA"), dateSeparator);
    line.append(line, 1, line.size() - 1);
    appendInvoiceNumber(line, invoice);
    appendAmount(line, invoice.asNumber("VALNF"));
    appendAmount(line, invoice.asNumber("VALSER"));
    appendRate(line, invoice.asNumber("ALIQUO"));
    appendAmount(line, invoice.asNumber("IMPRET"));
    clients.append(line, client, kMissingProvider);
    return line;
}

} // namespace kalvian
