#include "export_lines.h"

#include "common/date_format.h"
#include "common/trim.h"
#include "export_format/fill.h"
#include "export_format/number_format.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

namespace kalvian {

namespace {

constexpr bool isFilled(FieldForm form) {
    return form == FieldForm::Text || form == FieldForm::Char || form == FieldForm::Integer;
}

constexpr std::size_t filledWidth(const LineLayout& layout) {
    std::size_t width = 0;
    for (const LineField& field : layout.fields) {
        width += isFilled(field.form) ? field.width : 0;
    }
    return width;
}
constexpr std::size_t kMostFilled =
    std::max({filledWidth(kIssuedLine), filledWidth(kShortLine), filledWidth(kReceivedLine)});

std::vector<FixedWidthField> filledFields(const LineLayout& layout) {
    std::vector<FixedWidthField> fields;
    for (const LineField& field : layout.fields) {
        if (isFilled(field.form)) {
            fields.push_back({field.name, field.width, field.fill, field.justify});
        }
    }
    return fields;
}

// Withholding at the invoice's own rate when it is marked "R" and carries no rate of its own.
double withheldRate(const SourceRecord& invoice) {
    const double rate = invoice.asNumber("ALQRET");
    return invoice.asText("RESTRB") == "R" && rate == 0 ? invoice.asNumber("ALIQUO") : rate;
}

// Appends the line of a layout for an invoice, field after field. Its filled fields, `filled`, are placed
// first, all at once, as a record fills a block of fields without a string for each.
void appendLine(std::string& line, const LineLayout& layout, const FixedWidthLayout& filled,
                const SourceRecord& invoice, ClientBlocks& clients, char dateSeparator) {
    // The client comes last: it is asked for first, so it is on its way while the fields before it are built.
    const bool hasClient = layout.fields.back().form == FieldForm::Client;
    const std::int32_t client = hasClient ? invoice.asInteger("CODCLI") : 0;
    if (hasClient) {
        clients.prefetch(client);
    }
    std::array<char, kMostFilled> filledBytes;
    invoice.placeFields(filled, std::span(filledBytes).first(filled.fill().size()));
    const char* nextFilled = filledBytes.data();
    line += layout.type;
    for (const LineField& field : layout.fields) {
        switch (field.form) {
        case FieldForm::Literal:
            line += field.literal;
            break;
        case FieldForm::Text:
        case FieldForm::Char:
        case FieldForm::Integer:
            line.append(nextFilled, field.width);
            nextFilled += field.width;
            break;
        case FieldForm::Date:
            appendDate(line, invoice.asDate(field.name), dateSeparator);
            break;
        case FieldForm::Repeat:
            line.append(line, line.size() - field.width, field.width);
            break;
        case FieldForm::Amount:
            appendAmount(line, invoice.asNumber(field.name));
            break;
        case FieldForm::Rate:
            appendRate(line, invoice.asNumber(field.name));
            break;
        case FieldForm::WithheldRate:
            appendRate(line, withheldRate(invoice));
            break;
        case FieldForm::Client:
            clients.append(line, client, field.literal);
            break;
        }
    }
}

const FixedWidthLayout kIssuedFilled(filledFields(kIssuedLine));
const FixedWidthLayout kShortFilled(filledFields(kShortLine));
const FixedWidthLayout kReceivedFilled(filledFields(kReceivedLine));

} // namespace

// The registration, right-justified, is the one field of the header that is not fixed.
static_assert(std::size(kHeaderFields) == 2 && kHeaderFields[0].form == FieldForm::Text &&
              kHeaderFields[0].justify == Justify::Right && kHeaderFields[1].form == FieldForm::Literal);

std::string LinhaCabecalho(std::string_view registration) {
    return kHeaderLine.type + PreencheEsquerda(registration, kRegistrationWidth, kHeaderFields[0].fill) +
           std::string(kHeaderFields[1].literal);
}

bool registrationFitsHeader(std::string_view registration) {
    return trimBlanks(registration).size() <= static_cast<std::size_t>(kRegistrationWidth);
}

void LinhaEmitida(std::string& line, const SourceRecord& invoice, ClientBlocks& clients, char dateSeparator) {
    if (invoice.asText("MODU") == "X") {
        appendLine(line, kShortLine, kShortFilled, invoice, clients, dateSeparator);
    } else {
        appendLine(line, kIssuedLine, kIssuedFilled, invoice, clients, dateSeparator);
    }
}

void LinhaRecebida(std::string& line, const SourceRecord& invoice, ClientBlocks& clients,
                   char dateSeparator) {
    appendLine(line, kReceivedLine, kReceivedFilled, invoice, clients, dateSeparator);
}

} // namespace kalvian
