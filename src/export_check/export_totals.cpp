#include "export_totals.h"

#include "common/ascii_digits.h"
#include "export_format/client_block_layout.h"

#include <algorithm>
#include <string_view>

namespace kalvian {

namespace {

constexpr std::size_t kNameOffset = kClientNameOffset;
constexpr std::size_t kNameWidth = kClientNameWidth;
constexpr int kLargestCodeDigits = 10; // CODCLI is a 32-bit integer

// The client block of an invoice whose client was not found, with a blank name.
std::string_view missingBlockOutsideName() {
    static const std::string block = [] {
        std::string text;
        appendMissingClientBlock(text, {});
        return text;
    }();
    return block;
}

enum class Missing { No, WithCode, WithoutCode };

// Whether the block is the placeholder of a missing client, and its code.
Missing missingClient(std::string_view block, std::string_view placeholder, std::int64_t& code) {
    const std::string_view expected = missingBlockOutsideName();
    if (block.size() != expected.size() || block.substr(0, kNameOffset) != expected.substr(0, kNameOffset) ||
        block.substr(kNameOffset + kNameWidth) != expected.substr(kNameOffset + kNameWidth)) {
        return Missing::No;
    }
    std::string_view name = block.substr(kNameOffset, kNameWidth);
    name = name.substr(0, name.find_last_not_of(' ') + 1);
    if (name.empty()) {
        return Missing::WithoutCode;
    }
    // "<placeholder> (<code>)"
    if (name.substr(0, placeholder.size()) != placeholder || name.substr(placeholder.size(), 2) != " (" ||
        name.back() != ')') {
        return Missing::No;
    }
    const std::size_t codeStart = placeholder.size() + 2;
    const std::string_view digits = name.substr(codeStart, name.size() - codeStart - 1);
    const bool plain = !digits.empty() && digits.size() <= kLargestCodeDigits && digits.front() != '0' &&
                       allAsciiDigits(digits);
    if (!plain) {
        return Missing::No;
    }
    code = 0;
    for (const char ch : digits) {
        code = code * 10 + (ch - '0');
    }
    return Missing::WithCode;
}

} // namespace

void ExportTotals::add(const ExportRecord& record) {
    const char* placeholder = nullptr;
    switch (record.type) {
    case 'C':
        ++emitidas;
        ++emitidasX;
        return;
    case 'E':
        ++emitidas;
        valorEmitidas.add(record.valnf);
        servicosEmitidas.add(record.valser);
        placeholder = kMissingTaker;
        break;
    case 'R':
        ++recebidas;
        valorRecebidas.add(record.valnf);
        servicosRecebidas.add(record.valser);
        impostoRetido.add(record.impret);
        placeholder = kMissingProvider;
        break;
    default:
        return;
    }
    std::int64_t code = 0;
    switch (missingClient(record.client, placeholder, code)) {
    case Missing::No:
        return;
    case Missing::WithCode:
        addMissingCode(code);
        break;
    case Missing::WithoutCode:
        ++semClienteSemCodigo;
        break;
    }
    ++semCliente;
}

void ExportTotals::addMissingCode(std::int64_t code) {
    if (std::find(codigosSemCliente.begin(), codigosSemCliente.end(), code) != codigosSemCliente.end()) {
        return;
    }
    if (codigosSemCliente.size() < kShownCodes) {
        codigosSemCliente.push_back(code);
    } else {
        maisCodigos = true;
    }
}

void ExportTotals::add(const ExportTotals& other) {
    emitidas += other.emitidas;
    emitidasX += other.emitidasX;
    recebidas += other.recebidas;
    semCliente += other.semCliente;
    semClienteSemCodigo += other.semClienteSemCodigo;
    for (const std::int64_t code : other.codigosSemCliente) {
        addMissingCode(code);
    }
    maisCodigos = maisCodigos || other.maisCodigos;
    valorEmitidas.add(other.valorEmitidas);
    servicosEmitidas.add(other.servicosEmitidas);
    valorRecebidas.add(other.valorRecebidas);
    servicosRecebidas.add(other.servicosRecebidas);
    impostoRetido.add(other.impostoRetido);
    leiturasAmbiguas += other.leiturasAmbiguas;
}

} // namespace kalvian
