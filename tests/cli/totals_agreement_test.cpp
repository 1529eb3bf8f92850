// The totals of an export agree three ways and with the lines: printed after the export, written to the
// --resumo CSV, and printed by --conferir from the file alone. Real runs of kalvian-export over the demo
// tables and over tables written here with negative amounts, amounts of 10^12 and more, general notation
// and rounding ties.
#include "cli/program_run.h"
#include "common/date_serial.h"
#include "support/temp_folder.h"
#include "vrk3_tables.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <limits>
#include <map>
#include <sstream>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using paradox::ClientRow;
using paradox::IssuedRow;
using paradox::ReceivedRow;
using test::ProcessEnd;
using test::readFile;
using test::TempFolder;

__extension__ typedef __int128 Cents;

// Counts and sums in the CSV's order, amounts as whole cents ("INF" and "NAN" as they are): emitidas,
// emitidas_x, recebidas, valor_emitidas, servicos_emitidas, valor_recebidas, servicos_recebidas,
// imposto_retido, sem_cliente.
using Totals = std::array<std::string, 9>;

std::string centsText(Cents cents) {
    if (cents == 0) {
        return "0";
    }
    std::string digits;
    for (Cents rest = cents < 0 ? -cents : cents; rest != 0; rest /= 10) {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(rest % 10)));
    }
    return (cents < 0 ? "-" : "") + digits;
}

// "1.234.567,89" or "1234567,89" as whole cents; "INF", "-INF" and "NAN" unchanged.
std::string amountCents(const std::string& text) {
    if (text == "INF" || text == "-INF" || text == "NAN") {
        return text;
    }
    EXPECT_EQ(text.find_first_not_of("-0123456789.,"), std::string::npos) << text;
    EXPECT_EQ(text.size() - text.find(','), 3u) << text;
    Cents cents = 0;
    for (const char ch : text) {
        if (ch >= '0' && ch <= '9') {
            cents = cents * 10 + (ch - '0');
        }
    }
    return centsText(text[0] == '-' ? -cents : cents);
}

// The "Label: value" lines of a block of the console's output.
std::map<std::string, std::string> labelled(const std::string& block) {
    std::map<std::string, std::string> values;
    std::istringstream lines(block);
    for (std::string line; std::getline(lines, line);) {
        if (const auto colon = line.find(": "); colon != std::string::npos) {
            values[line.substr(0, colon)] = line.substr(colon + 2);
        }
    }
    return values;
}

Totals printedTotals(const std::string& block) {
    auto values = labelled(block);
    const auto count = [&](const char* label) {
        const std::string value = values[label];
        EXPECT_FALSE(value.empty()) << label << " falta em:\n" << block;
        return value.substr(0, value.find(' '));
    };
    return {count("Emitidas"),
            count("Notas X (linhas C)"),
            count("Recebidas"),
            amountCents(values["Valor das notas emitidas"]),
            amountCents(values["Valor dos serviços emitidos"]),
            amountCents(values["Valor das notas recebidas"]),
            amountCents(values["Valor dos serviços recebidos"]),
            amountCents(values["Imposto retido"]),
            count("Sem cliente encontrado")};
}

// The console's output of an export, one block per registration.
std::map<std::string, std::string> blocksByRegistration(const std::string& out) {
    std::map<std::string, std::string> blocks;
    std::string* current = nullptr;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Inscrição ", 0) == 0) {
            current = &blocks[line.substr(std::string("Inscrição ").size())];
        } else if (line.rfind("Total: ", 0) == 0 && line.find(" arquivos, ") != std::string::npos) {
            current = &blocks["todas"];
        } else if (current != nullptr) {
            *current += line + "\n";
        }
    }
    return blocks;
}

// The CSV's rows by registration, after checking its byte-order mark, header and line ends.
std::map<std::string, Totals> csvRows(const std::string& bytes) {
    const std::string header =
        "\xEF\xBB\xBF"
        "inscricao;arquivo;emitidas;emitidas_x;recebidas;valor_emitidas;servicos_emitidas;"
        "valor_recebidas;servicos_recebidas;imposto_retido;sem_cliente\r\n";
    EXPECT_EQ(bytes.substr(0, header.size()), header);
    std::map<std::string, Totals> rows;
    for (std::size_t at = header.size(); at < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", at);
        EXPECT_NE(end, std::string::npos);
        std::vector<std::string> fields;
        std::istringstream row(bytes.substr(at, end - at));
        for (std::string field; std::getline(row, field, ';');) {
            fields.push_back(field);
        }
        EXPECT_EQ(fields.size(), 11u) << bytes.substr(at, end - at);
        fields.resize(11);
        rows[fields[0]] = {fields[2],
                           fields[3],
                           fields[4],
                           amountCents(fields[5]),
                           amountCents(fields[6]),
                           amountCents(fields[7]),
                           amountCents(fields[8]),
                           amountCents(fields[9]),
                           fields[10]};
        at = end + 2;
    }
    return rows;
}

Totals sumOf(const std::vector<Totals>& all) {
    std::array<Cents, 9> sums{};
    Totals total;
    for (const Totals& totals : all) {
        for (std::size_t i = 0; i < sums.size(); ++i) {
            if (totals[i] == "INF" || totals[i] == "-INF" || totals[i] == "NAN") {
                total[i] = totals[i]; // one of each kind is all these tests add
                continue;
            }
            Cents value = 0;
            for (const char ch : totals[i]) {
                value = ch == '-' ? value : value * 10 + (ch - '0');
            }
            sums[i] += totals[i][0] == '-' ? -value : value;
        }
    }
    for (std::size_t i = 0; i < sums.size(); ++i) {
        total[i] = total[i].empty() ? centsText(sums[i]) : total[i];
    }
    return total;
}

struct Exported {
    std::string registration;
    Totals expected; // what the lines hold, reckoned by the test
};

class TotalsAgreementTest : public ::testing::Test {
public:
    fs::path destino() const { return folder.path() / "saida"; }

    ProcessEnd run(const std::string& arguments) const {
        fs::create_directories(destino());
        return test::runExport(arguments, folder.path());
    }

    // Exports every registration of the period twice (each by name, then all with --todas and a CSV), reads
    // each file back with --conferir, and holds every total to the test's own reckoning.
    void expectAgreement(const std::string& origem, const std::string& period,
                         const std::vector<Exported>& all) {
        std::string named;
        for (const Exported& one : all) {
            named += " --inscricao " + one.registration;
        }
        const ProcessEnd byName = run("--origem '" + origem + "' " + period + named + " --destino saida");
        ASSERT_EQ(byName.exitCode, 0) << byName.err;
        const auto printed = blocksByRegistration(byName.out);

        const ProcessEnd every = run("--origem '" + origem + "' " + period +
                                     " --todas --destino saida --substituir --resumo resumo.csv");
        ASSERT_EQ(every.exitCode, 0) << every.err;
        const auto rows = csvRows(readFile(folder.path() / "resumo.csv"));
        EXPECT_EQ(rows.size(), all.size());

        std::vector<Totals> expected;
        for (const Exported& one : all) {
            const std::string file = "saida/VRK3_" + one.registration + "__" + m_dates + ".txt";
            const ProcessEnd check = run("--conferir " + file);
            EXPECT_EQ(check.exitCode, 0) << one.registration << ": " << check.err;
            EXPECT_EQ(check.err, "");
            EXPECT_EQ(printedTotals(printed.at(one.registration)), one.expected) << one.registration;
            EXPECT_EQ(rows.at(one.registration), one.expected) << one.registration;
            EXPECT_EQ(printedTotals(check.out), one.expected) << one.registration;
            expected.push_back(one.expected);
        }
        // Under --todas the console has one total, which is the CSV's rows added up.
        EXPECT_EQ(printedTotals(blocksByRegistration(every.out).at("todas")), sumOf(expected));
    }

    TempFolder folder;
    std::string m_dates;
};

// ---- The demo tables

// What the lines of a file hold, read at the places of the layout (every amount of the demo tables is
// between 0 and 10^12, so every line has its usual length).
Totals linesOf(const std::string& bytes) {
    std::array<Cents, 5> sums{};
    std::int64_t issued = 0, shortOnes = 0, received = 0, missing = 0;
    const auto cents = [](const std::string& line, std::size_t at) {
        Cents value = 0;
        for (const char ch : line.substr(at, 15)) {
            value = ch == '.' ? value : value * 10 + (ch - '0');
        }
        return value;
    };
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_EQ(line.back(), '\r');
        line.pop_back();
        if (line[0] == 'H') {
            EXPECT_EQ(line.size(), 14u);
        } else if (line[0] == 'C') {
            EXPECT_EQ(line.size(), 30u);
            ++issued;
            ++shortOnes;
        } else if (line[0] == 'E') {
            EXPECT_EQ(line.size(), 288u);
            ++issued;
            sums[0] += cents(line, 21);
            sums[1] += cents(line, 36);
            missing += line.compare(62 + 36, 24, "TOMADOR NAO ENCONTRADO (") == 0 ? 1 : 0;
        } else {
            EXPECT_EQ(line.substr(0, 1) + std::to_string(line.size()), "R307");
            ++received;
            sums[2] += cents(line, 31);
            sums[3] += cents(line, 46);
            sums[4] += cents(line, 66);
            missing += line.compare(81 + 36, 26, "PRESTADOR NAO ENCONTRADO (") == 0 ? 1 : 0;
        }
    }
    return {std::to_string(issued), std::to_string(shortOnes), std::to_string(received),
            centsText(sums[0]),     centsText(sums[1]),        centsText(sums[2]),
            centsText(sums[3]),     centsText(sums[4]),        std::to_string(missing)};
}

TEST_F(TotalsAgreementTest, DemoTables) {
    const std::string origem = std::string(KALVIAN_SOURCE_DIR) + "/samples/vrk3";
    const std::string period = "--inicio 01/01/2008 --fim 15/12/2008";
    m_dates = "01_01_2008__15_12_2008";
    // The lines to reckon with come from a first export of each registration.
    std::vector<Exported> all;
    for (const char* registration : {"1001", "2002", "3003"}) {
        const ProcessEnd first = run("--origem '" + origem + "' " + period + " --inscricao " + registration +
                                     " --destino saida --arquivo primeira.txt --substituir");
        ASSERT_EQ(first.exitCode, 0) << first.err;
        all.push_back({registration, linesOf(readFile(destino() / "primeira.txt"))});
    }
    fs::remove(destino() / "primeira.txt");
    EXPECT_EQ(all[0].expected[1], "6");
    EXPECT_EQ(all[0].expected[8], "2");
    expectAgreement(origem, period, all);
}

// ---- Tables with awkward amounts

struct Amount {
    double stored;
    Cents written; // as the export writes it: 18 significant digits, rounded half away from zero
};

constexpr Cents kE18 = 1000000000000000000;

// Each registration's amounts: the same list serves VALNF, VALSER and IMPRET, in turn.
const std::map<std::string, std::vector<Amount>> kAmounts = {
    {"10", // negative amounts and rounding ties
     {{-1.5, -150},
      {0.125, 13},
      {-0.125, -13},
      {1.005, 100}, // stored as 1.00499999999999989
      {2.675, 267}, // stored as 2.67499999999999982
      {0.375, 38},
      {-0.004999, 0},
      {99.995, 10000}, // stored as 99.9950000000000045
      {1000000000000.125, 100000000000013}}},
    {"20", // amounts of 10^12 and more, still with two decimals
     {{1e12, 100000000000000},
      {123456789012345.67, 12345678901234567},
      {999999999999999872.0, Cents{99999999999999987} * 1000 + 200},
      {-5e15, -500000000000000000}}},
    {"30", // 10^18 and more, in general notation
     {{1e18, kE18 * 100}, {1.5e20, kE18 * 15000}, {-2.5e19, -kE18 * 2500}, {1e30, kE18 * 100000000000000}}},
};

TEST_F(TotalsAgreementTest, NegativeLargeAndTiedAmounts) {
    const fs::path tables = folder.path() / "vrk3";
    fs::create_directory(tables);
    m_dates = "01_03_2008__31_03_2008";
    paradox::Vrk3Tables written;
    ClientRow client;
    client.codcli = std::int32_t{1};
    client.insmun = 12345678901.0;
    client.nome = std::string("Cliente Um");
    written.clients = {client};
    written.placement.shuffled = true;
    written.placement.freeBlocks = 2;

    std::vector<Exported> all;
    std::int32_t key = 0;
    for (const auto& [registration, amounts] : kAmounts) {
        std::array<Cents, 5> sums{};
        std::int64_t missing = 0;
        for (std::size_t i = 0; i < amounts.size(); ++i) {
            const std::int32_t code = i % 4 == 3 ? 57 : 1;
            missing += code == 1 ? 0 : 2;
            const Amount& a = amounts[i];
            const Amount& b = amounts[(i + 1) % amounts.size()];
            const Amount& c = amounts[(i + 2) % amounts.size()];
            IssuedRow issued;
            issued.insmun = std::stod(registration);
            issued.data = toSerial({2008, 3, static_cast<int>(1 + i)});
            issued.valnf = a.stored;
            issued.valser = b.stored;
            issued.aliquo = 5.0;
            issued.codcli = code;
            written.issued.push_back(issued);
            ReceivedRow received;
            received.key = ++key;
            received.insmun = issued.insmun;
            received.data = issued.data;
            received.valnf = b.stored;
            received.valser = c.stored;
            received.impret = a.stored;
            received.aliquo = 2.0;
            received.codcli = code;
            written.received.push_back(received);
            sums[0] += a.written;
            sums[1] += b.written;
            sums[2] += b.written;
            sums[3] += c.written;
            sums[4] += a.written;
        }
        const std::string count = std::to_string(amounts.size());
        all.push_back({registration,
                       {count, "0", count, centsText(sums[0]), centsText(sums[1]), centsText(sums[2]),
                        centsText(sums[3]), centsText(sums[4]), std::to_string(missing)}});
    }
    written.write(tables);
    expectAgreement(tables.string(), "--inicio 01/03/2008 --fim 31/03/2008", all);
}

} // namespace
} // namespace kalvian
