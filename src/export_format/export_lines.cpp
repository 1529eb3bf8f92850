#include "export_lines.h"

#include "common/date_format.h"
#include "common/trim.h"
#include "export_format/client_block_layout.h"
#include "export_format/fill.h"
#include "export_format/number_format.h"

#include <array>
#include <span>
#include <string>

namespace kalvian {

namespace {

// SERIE, MODU and NUMNF, side by side as the E and R lines hold them, read at once.
constexpr std::array<FixedWidthField, 3> kInvoiceNumber = {{
    {"SERIE", 1, ' ', Justify::Right},
    {"MODU", 1, ' ', Justify::Right},
    {"NUMNF", 8, '0', Justify::Right},
}};
const FixedWidthLayout kInvoiceNumberLayout(kInvoiceNumber);
constexpr std::size_t kInvoiceNumberWidth = fieldOffset(kInvoiceNumber, "");
constexpr std::size_t kNumnfOffset = fieldOffset(kInvoiceNumber, "NUMNF");

void appendInvoiceNumber(std::string& line, const SourceRecord& invoice) {
    const std::size_t start = line.size();
    line.resize(start + kInvoiceNumberWidth);
    invoice.placeFields(kInvoiceNumberLayout, std::span(line).subspan(start));
}

void linhaCurta(std::string& line, const SourceRecord& invoice, char dateSeparator) {
    line += 'C';
    appendDate(line, invoice.asDate("DATA"), dateSeparator);
    line += "11";
    std::array<char, kInvoiceNumberWidth> number;
    invoice.placeFields(kInvoiceNumberLayout, number);
    // The import layout has the short line's SERIE left-justified, unlike the E and R lines: in one byte
    // that is the same.
    line += number[0];
    // The import layout wants the number twice: the first and the last of a range of one invoice.
    const std::string_view numnf(number.data() + kNumnfOffset, number.size() - kNumnfOffset);
    line += numnf;
    line += numnf;
}

} // namespace

std::string LinhaCabecalho(std::string_view registration) {
    return "H" + PreencheEsquerda(registration, kRegistrationWidth, '0') + "40";
}

bool registrationFitsHeader(std::string_view registration) {
    return trimBlanks(registration).size() <= static_cast<std::size_t>(kRegistrationWidth);
}

void LinhaEmitida(std::string& line, const SourceRecord& invoice, ClientBlocks& clients, char dateSeparator) {
    if (invoice.asText("MODU") == "X") {
        linhaCurta(line, invoice, dateSeparator);
        return;
    }
    // The client comes last: it is asked for first, so it is on its way while the fields before it are built.
    const std::int32_t client = invoice.asInteger("CODCLI");
    clients.prefetch(client);

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
}

void LinhaRecebida(std::string& line, const SourceRecord& invoice, ClientBlocks& clients,
                   char dateSeparator) {
    const std::int32_t client = invoice.asInteger("CODCLI");
    clients.prefetch(client);

    line += 'R';
    // The import layout wants DATA twice; the table's own DATEMI is never written.
    const std::size_t date = line.size();
    appendDate(line, invoice.asDate("DATA"), dateSeparator);
    line.append(line, date, line.size() - date);
    appendInvoiceNumber(line, invoice);
    appendAmount(line, invoice.asNumber("VALNF"));
    appendAmount(line, invoice.asNumber("VALSER"));
    appendRate(line, invoice.asNumber("ALIQUO"));
    appendAmount(line, invoice.asNumber("IMPRET"));
    clients.append(line, client, kMissingProvider);
}

} // namespace kalvian
