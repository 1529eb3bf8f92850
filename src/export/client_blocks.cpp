#include "client_blocks.h"

#include "export/fill.h"

namespace kalvian {

namespace {

constexpr std::size_t kBlockWidth = 226;

void appendFoundClient(std::string& line, const SourceRecord& client) {
    appendPreencheEsquerda(line, client.asText("INSMUN"), 11, '0');
    appendPreencheEsquerda(line, client.asText("NUMCNPJ"), 14, '0');
    appendPreencheEsquerda(line, client.asText("NUMCPF"), 11, '0');
    appendPreencheDireita(line, client.asText("NOME"), 70, ' ');
    appendPreencheDireita(line, client.asText("RUA"), 40, ' ');
    appendPreencheEsquerda(line, client.asText("NUMERO"), 5, '0');
    appendPreencheDireita(line, client.asText("COMPLE"), 15, ' ');
    appendPreencheDireita(line, client.asText("BAIRRO"), 30, ' ');
    appendPreencheDireita(line, client.asText("CIDADE"), 20, ' ');
    appendPreencheDireita(line, client.asText("ESTADO"), 2, ' ');
    appendPreencheEsquerda(line, client.asText("CEP"), 8, '0');
}

void appendMissingClient(std::string& line, std::int32_t code, const char* placeholder) {
    const std::string name = code < 1 ? std::string() : placeholder + (" (" + std::to_string(code) + ")");
    line.append(11 + 14 + 11, '0');
    appendPreencheDireita(line, name, 70, ' ');
    line.append(40, ' ');
    line.append(5, '0');
    line.append(15 + 30 + 20 + 2, ' ');
    line.append(8, '0');
}

} // namespace

void ClientBlocks::append(std::string& line, std::int32_t code, const char* placeholder) {
    if (const auto kept = m_kept.find(code); kept != m_kept.end()) {
        line += kept->second;
        return;
    }
    const SourceRecord* client = m_clients.find(code);
    if (client == nullptr) {
        appendMissingClient(line, code, placeholder);
        return;
    }
    const std::size_t start = line.size();
    appendFoundClient(line, *client);
    // An entry costs its block and the map's own bookkeeping, counted roughly as the block again.
    if (m_budget >= 2 * kBlockWidth) {
        m_budget -= 2 * kBlockWidth;
        m_kept.emplace(code, line.substr(start));
    }
}

} // namespace kalvian
