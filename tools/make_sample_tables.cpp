// Writes the bundled demo folder: DSEMI.DB, DSREC.DB and DSCLI.DB of a few taxpayers of 2008, in code
// page 850 as VRK 3 kept them.
//   make_sample_tables <folder> [<invoices>]
// With a count, registration 4004 also has that many issued and as many received invoices of 2008: an
// export that lasts a while, for the checks that interrupt one.
#include "common/date_serial.h"
#include "common/error.h"
#include "vrk3_tables.h"

#include <cstdio>
#include <string>

namespace {

using namespace kalvian;
using namespace kalvian::paradox;

// Names and places with the accents a Portuguese register holds (Windows-1252 bytes).
constexpr const char* kNames[] = {
    "Jo\xE3o da Silva Servi\xE7os ME",
    "Concei\xE7\xE3o Ara\xFAjo Consultoria",
    "A\xE7\xE3o Social Ltda",
    "Pe\xE7"
    "as & Servi\xE7os Ribeir\xE3o",
    "Ind\xFAstria Mec\xE2nica S\xE3o Jos\xE9",
    "Cl\xEDnica Sa\xFA"
    "de Plena",
    "Escrit\xF3rio Cont\xE1"
    "bil Gon\xE7"
    "alves",
    "Tr\xE2nsito Log\xEDstica Ltda",
    "Padaria P\xE3o Quente",
    "Jos\xE9 Ant\xF4nio Figueir\xF4",
};
constexpr const char* kStreets[] = {"Rua da Consola\xE7\xE3o", "Avenida Paulista",
                                    "Rua Bar\xE3o de Itapetininga",
                                    "Pra\xE7"
                                    "a da S\xE9",
                                    "Rua Ant\xF4nio Carlos"};
constexpr const char* kCities[] = {"S\xE3o Paulo", "Bel\xE9m", "Bras\xEDlia", "Goi\xE2nia",
                                   "Florian\xF3polis"};
constexpr const char* kStates[] = {"SP", "PA", "DF", "GO", "SC"};

constexpr std::int32_t kClients = 40;
constexpr std::int32_t kMissingClient = 999;

double day(int d, int m, int y = 2008) {
    return toSerial({y, m, d});
}

// A small deterministic sequence, so the demo tables are the same on every run.
class Sequence {
public:
    std::uint32_t next(std::uint32_t bound) {
        m_state = m_state * 1103515245u + 12345u;
        return (m_state >> 8) % bound;
    }

private:
    std::uint32_t m_state = 2008;
};

ClientRow client(std::int32_t code) {
    const auto i = static_cast<std::size_t>(code);
    ClientRow row;
    row.codcli = code;
    row.insmun = 50000000000.0 + code;
    if (code % 3 == 0) {
        row.numcpf = std::to_string(10000000000LL + code * 7919);
    } else {
        row.numcnpj = std::to_string(12345678000100LL + code);
    }
    row.nome = std::string(kNames[i % std::size(kNames)]) + (code > 10 ? " " + std::to_string(code) : "");
    row.rua = std::string(kStreets[i % std::size(kStreets)]);
    row.numero = static_cast<std::int32_t>(10 + code * 13);
    row.comple = std::string(code % 4 == 0 ? "Sala " + std::to_string(code) : "");
    row.bairro = std::string(code % 2 == 0 ? "Centro" : "Jardim Am\xE9rica");
    row.cidade = std::string(kCities[i % std::size(kCities)]);
    row.estado = std::string(kStates[i % std::size(kStates)]);
    row.cep = std::to_string(1000000 + code * 1234);
    return row;
}

void addInvoices(Vrk3Tables& tables, Sequence& random, double registration, int issued, int received,
                 int year) {
    for (int n = 1; n <= issued; ++n) {
        IssuedRow row;
        row.insmun = registration;
        row.data = day(1 + static_cast<int>(random.next(28)), 1 + static_cast<int>(random.next(12)), year);
        row.serie = std::string(n % 5 == 0 ? "B" : "A");
        row.numnf = static_cast<std::int32_t>(n);
        row.modu = std::string(n % 50 == 0 ? "X" : "1");
        row.valnf = static_cast<double>(random.next(5000000)) / 100.0;
        row.valser = std::get<double>(row.valnf) * 0.8;
        row.restrb = std::string(n % 4 == 0 ? "R" : " ");
        row.aliquo = static_cast<double>(2 + random.next(4));
        row.alqret = n % 8 == 0 ? 2.0 : 0.0;
        row.codcli = static_cast<std::int32_t>(1 + random.next(kClients));
        tables.issued.push_back(row);
    }
    for (int n = 1; n <= received; ++n) {
        ReceivedRow row;
        row.key = static_cast<std::int32_t>(tables.received.size() + 1);
        row.insmun = registration;
        row.data = day(1 + static_cast<int>(random.next(28)), 1 + static_cast<int>(random.next(12)), year);
        row.datemi = row.data;
        row.codcli = static_cast<std::int32_t>(1 + random.next(kClients));
        row.numnf = static_cast<std::int32_t>(5000 + n);
        row.valnf = static_cast<double>(random.next(2000000)) / 100.0;
        row.valser = row.valnf;
        row.aliquo = 5.0;
        row.impret = std::get<double>(row.valnf) * 0.05;
        tables.received.push_back(row);
    }
}

Vrk3Tables demoTables(int largeRegistrationInvoices) {
    Vrk3Tables tables;
    Sequence random;
    for (std::int32_t code = 1; code <= kClients; ++code) {
        tables.clients.push_back(client(code));
    }
    addInvoices(tables, random, 1001, 300, 120, 2008);
    addInvoices(tables, random, 2002, 12, 6, 2008);
    addInvoices(tables, random, 3003, 20, 10, 2007);
    addInvoices(tables, random, 3003, 8, 4, 2008);
    addInvoices(tables, random, 4004, largeRegistrationInvoices, largeRegistrationInvoices, 2008);

    // The cases a declarant meets: the cut-off day itself, the day after it, and a client that is gone.
    IssuedRow lastDay = tables.issued.front();
    lastDay.data = day(15, 12);
    lastDay.numnf = std::int32_t{9001};
    lastDay.modu = std::string("1");
    tables.issued.push_back(lastDay);
    IssuedRow afterCutOff = lastDay;
    afterCutOff.data = day(16, 12);
    afterCutOff.numnf = std::int32_t{9002};
    tables.issued.push_back(afterCutOff);
    IssuedRow lostClient = lastDay;
    lostClient.data = day(20, 6);
    lostClient.numnf = std::int32_t{9003};
    lostClient.codcli = kMissingClient;
    tables.issued.push_back(lostClient);
    ReceivedRow lostProvider = tables.received.front();
    lostProvider.data = day(21, 6);
    lostProvider.numnf = std::int32_t{9004};
    lostProvider.codcli = kMissingClient;
    tables.received.push_back(lostProvider);
    return tables;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "uso: make_sample_tables PASTA [NOTAS]\n");
        return 2;
    }
    try {
        demoTables(argc == 3 ? std::stoi(argv[2]) : 0).write(argv[1]);
    } catch (const kalvian::Error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
