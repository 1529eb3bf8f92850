#pragma once

#include "common/date_serial.h"
#include "export_format/export_lines.h"
#include "export_format/number_format.h"
#include "support/memory_records.h"

#include <cstdint>
#include <string>

namespace kalvian::test {

// Export lines exactly as the export writes them (the line builders over records held in memory), each with
// its CR LF, for the tests that read them back.

struct Invoice {
    CalendarDate date{2008, 3, 15};
    std::int32_t numnf = 42;
    std::string modu = "1";
    double valnf = 1500.5;
    double valser = 1000.0;
    std::string restrb = " ";
    double aliquo = 5.0;
    double alqret = 0.0;
    double impret = 3.75;
    std::int32_t codcli = 1; // client 1 exists; any other code is missing
};

inline MemoryRecord invoiceRecord(const Invoice& invoice) {
    return {{"DATA", DateSerial{toSerial(invoice.date)}},
            {"SERIE", std::string("A")},
            {"NUMNF", invoice.numnf},
            {"MODU", invoice.modu},
            {"VALNF", invoice.valnf},
            {"VALSER", invoice.valser},
            {"RESTRB", invoice.restrb},
            {"ALIQUO", invoice.aliquo},
            {"ALQRET", invoice.alqret},
            {"IMPRET", invoice.impret},
            {"CODCLI", invoice.codcli}};
}

inline MemoryRecord clientRecord(std::int32_t code, const std::string& name) {
    return {{"CODCLI", code},
            {"INSMUN", 12345678901.0},
            {"NUMCNPJ", std::string("12345678000199")},
            {"NUMCPF", std::string("")},
            {"NOME", name},
            {"RUA", std::string("Rua Dom Jos\xE9")},
            {"NUMERO", std::int32_t{150}},
            {"COMPLE", std::string("Sala 2")},
            {"BAIRRO", std::string("Centro")},
            {"CIDADE", std::string("S\xE3o Paulo")},
            {"ESTADO", std::string("SP")},
            {"CEP", std::string("1310100")}};
}

// The line builders over a client lookup alone, each client's block built anew as when a run first meets it.
inline std::string issuedLineOf(const SourceRecord& invoice, ClientLookup& clients, char separator) {
    ClientBlocks blocks(clients, 0);
    std::string line;
    LinhaEmitida(line, invoice, blocks, separator);
    return line;
}

inline std::string receivedLineOf(const SourceRecord& invoice, ClientLookup& clients, char separator) {
    ClientBlocks blocks(clients, 0);
    std::string line;
    LinhaRecebida(line, invoice, blocks, separator);
    return line;
}

inline std::string headerLine(const std::string& registration = "123") {
    return LinhaCabecalho(registration) + "\r\n";
}

inline std::string issuedLine(const Invoice& invoice, char separator = '/') {
    MemoryClients clients({clientRecord(1, "Jo\xE3o da Silva")});
    return issuedLineOf(invoiceRecord(invoice), clients, separator) + "\r\n";
}

inline std::string receivedLine(const Invoice& invoice, char separator = '/') {
    MemoryClients clients({clientRecord(1, "Jo\xE3o da Silva")});
    return receivedLineOf(invoiceRecord(invoice), clients, separator) + "\r\n";
}

inline std::string amountText(double value) {
    std::string text;
    appendAmount(text, value);
    return text;
}

inline std::string rateText(double value) {
    std::string text;
    appendRate(text, value);
    return text;
}

inline Invoice shortInvoice() {
    Invoice invoice;
    invoice.modu = "X";
    invoice.numnf = 43;
    return invoice;
}

} // namespace kalvian::test
