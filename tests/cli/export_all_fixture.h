#pragma once

#include "cli/program_run.h"
#include "common/date_serial.h"
#include "support/temp_folder.h"
#include "vrk3_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

// kalvian-export --todas over tables written by the project's writer, as tables that lived through years of
// inserts and deletes lie, run from a temporary folder.
namespace kalvian::test {

using paradox::BlockPlacement;
using paradox::IssuedRow;
using paradox::ReceivedRow;
using paradox::Vrk3Tables;
using paradox::WriterValue;

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline const BlockPlacement kLivedIn{true, 31, 7,
                                     1}; // shuffled, blocks from one row to full, seven free blocks

inline double day(int d, int m) {
    return toSerial({2008, m, d});
}

inline IssuedRow issued(WriterValue insmun, double date, std::int32_t number) {
    IssuedRow row;
    row.insmun = std::move(insmun);
    row.data = date;
    row.numnf = number;
    row.modu = std::string(number % 7 == 0 ? "X" : "1");
    row.valnf = number * 1.25;
    row.codcli = number % 5;
    return row;
}

inline ReceivedRow received(WriterValue insmun, double date, std::int32_t number) {
    ReceivedRow row;
    row.insmun = std::move(insmun);
    row.data = date;
    row.numnf = number;
    row.valser = number * 0.5;
    row.codcli = number % 4;
    return row;
}

inline paradox::ClientRow client(std::int32_t code) {
    paradox::ClientRow row;
    row.codcli = code;
    row.nome = "Cliente " + std::to_string(code);
    return row;
}

// The invoice numbers of an export file, in its order: NUMNF of the E, C and R lines.
inline std::vector<std::int32_t> invoiceNumbers(const std::string& file) {
    std::vector<std::int32_t> numbers;
    for (std::size_t at = 0; at < file.size();) {
        const std::size_t end = file.find("\r\n", at);
        const std::string line = file.substr(at, end - at);
        at = end + 2;
        const std::size_t column = line[0] == 'E' ? 13 : line[0] == 'C' ? 14 : line[0] == 'R' ? 23 : 0;
        if (column != 0) {
            numbers.push_back(std::stoi(line.substr(column, 8)));
        }
    }
    return numbers;
}

class ExportAllTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(origem());
        std::filesystem::create_directory(destino());
        for (std::int32_t code = 1; code < 5; ++code) {
            tables.clients.push_back(client(code));
        }
    }
    std::filesystem::path origem() const { return scratch.path() / "vrk3"; }
    std::filesystem::path destino() const { return scratch.path() / "saida"; }
    std::string firstHalf(const std::string& more) const {
        return "--origem '" + origem().string() + "' --inicio 01/01/2008 --fim 30/06/2008 --destino '" +
               destino().string() + "' " + more;
    }
    ProcessEnd run(const std::string& arguments) const { return runExport(arguments, scratch.path()); }

    TempFolder scratch;
    Vrk3Tables tables;
};

inline void manyRegistrations(Vrk3Tables& tables) {
    for (std::int32_t n = 1; n <= 12000; ++n) {
        const double who = static_cast<double>(1 + n % 300);
        tables.issued.push_back(issued(who, day(1 + n % 28, 1 + n % 6), n));
        tables.received.push_back(received(who, day(1 + n % 28, 1 + n % 6), 50000 + n));
    }
    tables.placement = kLivedIn;
}

class HostileExportAllTest : public ExportAllTest {
protected:
    void SetUp() override {
        ExportAllTest::SetUp();
        manyRegistrations(tables);
        tables.write(origem());
        std::filesystem::create_directory(alone());
        ASSERT_EQ(run("--origem '" + origem().string() +
                      "' --inicio 01/01/2008 --fim 30/06/2008 --destino '" + alone().string() + "' --todas")
                      .exitCode,
                  0);
    }
    // The files of an undisturbed run.
    std::filesystem::path alone() const { return scratch.path() / "sozinha"; }
    // Every export file in the destination is whole: what the undisturbed run wrote under that name.
    std::size_t expectWholeFiles(const std::string& context) const {
        std::size_t whole = 0;
        for (const std::string& name : namesIn(destino())) {
            if (name.starts_with("VRK3_")) {
                EXPECT_EQ(readFile(destino() / name), readFile(alone() / name)) << context << ": " << name;
                ++whole;
            }
        }
        return whole;
    }
};

} // namespace kalvian::test
