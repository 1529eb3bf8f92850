#include "large_taxpayer_tables.h"

#include "bench_folder.h"
#include "common/date_serial.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace kalvian::bench {

namespace {

using paradox::ClientRow;
using paradox::IssuedRow;
using paradox::ReceivedRow;

constexpr unsigned kSeed = 20;
constexpr double kTaxpayer = 123.0;
constexpr int kOtherRegistrations = 1000;

// What a row is for: the large taxpayer's invoice of the period, one of its invoices of another year, or
// another registration's, in or out of the period.
enum class Role { TaxpayerInPeriod, TaxpayerOutside, OtherInPeriod, OtherOutside };

class Random {
public:
    Random() : m_engine(kSeed) {}

    int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_engine); }
    template <std::size_t N> const char* pick(const std::array<const char*, N>& texts) {
        return texts[static_cast<std::size_t>(below(static_cast<int>(N)))];
    }
    std::string digits(int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += static_cast<char>('0' + below(10));
        }
        return text;
    }
    // Whole cents up to the bound, in reais.
    double amount(int boundReais) { return static_cast<double>(below(boundReais * 100)) / 100.0; }
    std::vector<Role> roles(std::size_t rows) {
        std::vector<Role> all(rows, Role::OtherInPeriod);
        for (std::size_t i = 0; i < rows / 10; ++i) {
            all[i] = Role::TaxpayerInPeriod;
            all[rows / 10 + i] = Role::TaxpayerOutside;
            all[2 * rows / 10 + i] = Role::OtherOutside;
        }
        std::shuffle(all.begin(), all.end(), m_engine);
        return all;
    }

private:
    std::mt19937 m_engine;
};

// Windows-1252 texts, as the client table's code page 850 holds them once written.
constexpr std::array<const char*, 12> kFirstNames = {"Jo\xE3o",
                                                     "Jos\xE9",
                                                     "Ant\xF4nio",
                                                     "Concei\xE7\xE3o",
                                                     "In\xEAs",
                                                     "L\xFA"
                                                     "cia",
                                                     "M\xE1rcio",
                                                     "F\xE1tima",
                                                     "S\xE9rgio",
                                                     "C\xE9lia",
                                                     "Andr\xE9",
                                                     "B\xE1rbara"};
constexpr std::array<const char*, 12> kSurnames = {"Gon\xE7"
                                                   "alves",
                                                   "Ara\xFAjo",
                                                   "Magalh\xE3"
                                                   "es",
                                                   "Pe\xE7"
                                                   "anha",
                                                   "Brand\xE3o",
                                                   "Sim\xF5"
                                                   "es",
                                                   "Guimar\xE3"
                                                   "es",
                                                   "Lou\xE7\xE3o",
                                                   "Mour\xE3o",
                                                   "Ch\xE1vez",
                                                   "Assun\xE7\xE3o",
                                                   "Falc\xE3o"};
constexpr std::array<const char*, 6> kTrades = {"Com\xE9rcio de Pe\xE7"
                                                "as",
                                                "Servi\xE7os de Manuten\xE7\xE3o",
                                                "Constru\xE7\xF5"
                                                "es e Reformas",
                                                "Inform\xE1tica e Tecnologia",
                                                "Distribui\xE7\xE3o de Alimentos",
                                                "Consultoria Cont\xE1"
                                                "bil"};
constexpr std::array<const char*, 4> kStreets = {"Rua", "Avenida", "Travessa",
                                                 "Pra\xE7"
                                                 "a"};
constexpr std::array<const char*, 8> kNeighbourhoods = {"Jardim Am\xE9rica",
                                                        "Vila Mariana",
                                                        "Santa Cec\xED"
                                                        "lia",
                                                        "Consola\xE7\xE3o",
                                                        "Ipiranga",
                                                        "Bela Vista",
                                                        "Tatuap\xE9",
                                                        "S\xE3o Crist\xF3v\xE3o"};
struct City {
    const char* name;
    const char* state;
};
constexpr std::array<City, 6> kCities = {{{"S\xE3o Paulo", "SP"},
                                          {"Ribeir\xE3o Preto", "SP"},
                                          {"Florian\xF3polis", "SC"},
                                          {"Bel\xE9m", "PA"},
                                          {"Goi\xE2nia", "GO"},
                                          {"Macei\xF3", "AL"}}};
constexpr std::array<const char*, 5> kComplements = {"", "Sala 1204", "Apto 31 Bloco B", "Loja 2", "Fundos"};

double dateFor(Role role, Random& random) {
    const double first = toSerial({2008, 1, 1});
    const double inPeriodDays = periodEnd() - first + 1;
    if (role == Role::TaxpayerInPeriod || role == Role::OtherInPeriod) {
        return first + random.below(static_cast<int>(inPeriodDays));
    }
    // Most rows outside the period are of the year before; a few of the last days of 2008.
    if (random.below(10) == 0) {
        return periodEnd() + 1 + random.below(16);
    }
    return toSerial({2007, 1, 1}) + random.below(365);
}

double registrationFor(Role role, Random& random) {
    if (role == Role::TaxpayerInPeriod || role == Role::TaxpayerOutside) {
        return kTaxpayer;
    }
    return 1000.0 + random.below(kOtherRegistrations);
}

std::int32_t clientFor(Random& random) {
    return 1 + random.below(static_cast<int>(kClientRows));
}

// Rates of service tax as municipalities set them.
double rateFor(Random& random) {
    constexpr std::array<double, 4> kRates = {2.0, 3.0, 5.0, 2.5};
    return kRates[static_cast<std::size_t>(random.below(4))];
}

double centsOf(double value) {
    return std::round(value * 100.0) / 100.0;
}

IssuedRow issuedRow(std::size_t i, Role role, Random& random) {
    IssuedRow row;
    row.insmun = registrationFor(role, random);
    row.data = dateFor(role, random);
    row.serie = std::string(random.pick(std::array<const char*, 3>{"A", "B", "U"}));
    row.numnf = static_cast<std::int32_t>(i + 1);
    row.modu = std::string(random.below(3) == 0 ? "X" : "1");
    const double value = random.amount(50000);
    row.valnf = value;
    row.valser = centsOf(value * (50 + random.below(51)) / 100.0);
    const bool withheld = random.below(3) == 0;
    row.restrb = std::string(withheld ? "R" : " ");
    const double rate = rateFor(random);
    row.aliquo = rate;
    row.alqret = withheld && random.below(2) == 0 ? rate : 0.0;
    row.codcli = clientFor(random);
    return row;
}

ReceivedRow receivedRow(std::size_t i, Role role, Random& random) {
    ReceivedRow row;
    row.key = static_cast<std::int32_t>(i + 1);
    row.insmun = registrationFor(role, random);
    const double date = dateFor(role, random);
    row.data = date;
    row.datemi = date - random.below(10);
    row.codcli = clientFor(random);
    row.serie = std::string(random.pick(std::array<const char*, 3>{"A", "B", "U"}));
    row.numnf = static_cast<std::int32_t>(1 + random.below(99999999));
    const double value = random.amount(80000);
    const double services = centsOf(value * (50 + random.below(51)) / 100.0);
    const double rate = rateFor(random);
    row.valnf = value;
    row.valser = services;
    row.aliquo = rate;
    row.impret = random.below(2) == 0 ? centsOf(services * rate / 100.0) : 0.0;
    return row;
}

ClientRow clientRow(std::int32_t code, Random& random) {
    ClientRow row;
    row.codcli = code;
    row.insmun = 10000000000.0 + random.below(900000000) * 10.0 + random.below(10);
    const std::string surname = random.pick(kSurnames);
    if (random.below(2) == 0) {
        row.numcnpj = random.digits(14);
        row.nome = surname + " & " + random.pick(kSurnames) + " " + random.pick(kTrades) + " Ltda";
    } else {
        row.numcpf = random.digits(11);
        row.nome = std::string(random.pick(kFirstNames)) + " " + random.pick(kFirstNames) + " " + surname +
                   " " + random.pick(kSurnames);
    }
    row.rua =
        std::string(random.pick(kStreets)) + " " + random.pick(kFirstNames) + " " + random.pick(kSurnames);
    row.numero = static_cast<std::int32_t>(1 + random.below(9999));
    row.comple = std::string(random.pick(kComplements));
    row.bairro = std::string(random.pick(kNeighbourhoods));
    const City& city = kCities[static_cast<std::size_t>(random.below(static_cast<int>(kCities.size())))];
    row.cidade = std::string(city.name);
    row.estado = std::string(city.state);
    row.cep = random.digits(8);
    return row;
}

} // namespace

paradox::Vrk3Tables largeTaxpayerTables() {
    Random random;
    paradox::Vrk3Tables tables;
    tables.blockSize = 4096;
    tables.placement = {true, kSeed, 16, 60};
    const std::vector<Role> issuedRoles = random.roles(kInvoiceRows);
    const std::vector<Role> receivedRoles = random.roles(kInvoiceRows);
    tables.issued.reserve(kInvoiceRows);
    tables.received.reserve(kInvoiceRows);
    for (std::size_t i = 0; i < kInvoiceRows; ++i) {
        tables.issued.push_back(issuedRow(i, issuedRoles[i], random));
        tables.received.push_back(receivedRow(i, receivedRoles[i], random));
    }
    for (std::size_t code = 1; code <= kClientRows; ++code) {
        tables.clients.push_back(clientRow(static_cast<std::int32_t>(code), random));
    }
    return tables;
}

} // namespace kalvian::bench
