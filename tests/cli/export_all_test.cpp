// kalvian-export --todas run as a user runs it, over tables written by the project's writer with their
// blocks shuffled, partly filled and with free blocks among them, as tables that lived through years of
// inserts and deletes are: every invoice of the period in exactly one file, each file as the export of
// its registration alone writes it, and the invoices no registration can hold counted on stderr.
#include "common/date_serial.h"
#include "export_all_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <regex>
#include <thread>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using paradox::BlockPlacement;
using paradox::IssuedRow;
using paradox::ReceivedRow;
using paradox::Vrk3Tables;
using paradox::WriterValue;
using namespace test;

// ---- every invoice once

TEST_F(ExportAllTest, EveryInvoiceOfThePeriodIsInExactlyOneFileInChainOrder) {
    // 60 registrations over 2008; a few invoices have no usable INSMUN.
    std::mt19937 random(5);
    std::uniform_int_distribution<int> registration(1, 60);
    std::uniform_int_distribution<int> month(1, 12);
    std::map<int, std::vector<std::int32_t>> expected; // registration -> its numbers, issued then received
    std::map<int, std::vector<std::int32_t>> expectedReceived;
    std::size_t empty = 0;
    std::size_t invalid = 0;
    for (std::int32_t n = 1; n <= 2500; ++n) {
        const int who = registration(random);
        const int issuedMonth = month(random);
        const int receivedMonth = month(random);
        const bool firstHalf = issuedMonth <= 6;
        WriterValue insmun = static_cast<double>(who);
        if (n % 97 == 0) {
            insmun = WriterValue{};
            empty += firstHalf;
        } else if (n % 89 == 0) {
            insmun = kNaN;
            invalid += firstHalf;
        } else if (firstHalf) {
            expected[who].push_back(n);
        }
        tables.issued.push_back(issued(insmun, day(3, issuedMonth), n));
        tables.received.push_back(received(static_cast<double>(who), day(9, receivedMonth), 10000 + n));
        if (receivedMonth <= 6) {
            expectedReceived[who].push_back(10000 + n);
        }
    }
    tables.placement = kLivedIn;
    tables.write(origem());

    const test::ProcessEnd result = run(firstHalf("--todas"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, std::to_string(empty + invalid) +
                              " notas do período não foram exportadas: o INSMUN não identifica uma inscrição "
                              "(vazio em " +
                              std::to_string(empty) + ", NaN ou infinito em " + std::to_string(invalid) +
                              ")\n");

    std::vector<std::int32_t> everyNumber;
    std::size_t files = 0;
    for (int who = 1; who <= 60; ++who) {
        std::vector<std::int32_t> numbers = expected[who];
        numbers.insert(numbers.end(), expectedReceived[who].begin(), expectedReceived[who].end());
        if (numbers.empty()) {
            continue;
        }
        ++files;
        const fs::path file = destino() / ("VRK3_" + std::to_string(who) + "__01_01_2008__30_06_2008.txt");
        EXPECT_EQ(invoiceNumbers(readFile(file)), numbers) << file;
        everyNumber.insert(everyNumber.end(), numbers.begin(), numbers.end());
    }
    EXPECT_EQ(namesIn(destino()).size(), files);

    // Over all files: each number of the period with a registration once, and nothing else.
    std::vector<std::int32_t> written;
    for (const std::string& name : namesIn(destino())) {
        const std::vector<std::int32_t> numbers = invoiceNumbers(readFile(destino() / name));
        written.insert(written.end(), numbers.begin(), numbers.end());
    }
    std::sort(written.begin(), written.end());
    std::sort(everyNumber.begin(), everyNumber.end());
    EXPECT_EQ(written, everyNumber);
    EXPECT_TRUE(std::adjacent_find(written.begin(), written.end()) == written.end());
}

// ---- each file as its registration's own export

TEST_F(ExportAllTest, EachFileIsWhatTheExportOfItsRegistrationAloneWrites) {
    // Zero stored both ways, a negative number, fractions and the longest number the header holds.
    const std::vector<double> registrations = {123, 0.3, 0.0, -0.0, -5, 1e-7, 12345678901.0};
    for (std::int32_t n = 1; n <= 900; ++n) {
        const double who = registrations[static_cast<std::size_t>(n) % registrations.size()];
        tables.issued.push_back(issued(who, day(1 + n % 28, 1 + n % 6), n));
        tables.received.push_back(received(who, day(1 + n % 28, 1 + n % 5), 5000 + n));
    }
    tables.placement = kLivedIn;
    tables.write(origem());

    const test::ProcessEnd all = run(firstHalf("--todas"));
    ASSERT_EQ(all.exitCode, 0) << all.err;
    std::vector<std::string> names = {
        "VRK3_-5__01_01_2008__30_06_2008.txt",          "VRK3_0.3__01_01_2008__30_06_2008.txt",
        "VRK3_0__01_01_2008__30_06_2008.txt",           "VRK3_123__01_01_2008__30_06_2008.txt",
        "VRK3_12345678901__01_01_2008__30_06_2008.txt", "VRK3_1e-07__01_01_2008__30_06_2008.txt",
    };
    std::sort(names.begin(), names.end());
    ASSERT_EQ(namesIn(destino()), names);

    const fs::path alone = scratch.path() / "sozinha";
    fs::create_directory(alone);
    for (const std::string& name : names) {
        const std::string registration = name.substr(5, name.find("__") - 5);
        const test::ProcessEnd one =
            run("--origem '" + origem().string() + "' --inicio 01/01/2008 --fim 30/06/2008 --destino '" +
                alone.string() + "' --inscricao " + registration);
        ASSERT_EQ(one.exitCode, 0) << registration << ": " << one.err;
        const std::string file = readFile(destino() / name);
        EXPECT_EQ(file, readFile(alone / name)) << registration;
        EXPECT_GT(invoiceNumbers(file).size(), 50u) << registration;
    }
}

TEST_F(ExportAllTest, ShuffledBlocksExportTheSameFilesAsBlocksInOrder) {
    for (std::int32_t n = 1; n <= 1200; ++n) {
        const double who = static_cast<double>(1 + n % 3);
        tables.issued.push_back(issued(who, day(1 + n % 28, 1 + n % 6), n));
        tables.received.push_back(received(who, day(1 + n % 28, 1 + n % 6), 5000 + n));
    }
    tables.write(origem());
    ASSERT_EQ(run(firstHalf("--todas")).exitCode, 0);
    ASSERT_EQ(run(firstHalf("--inscricao 2 --arquivo sozinha.txt")).exitCode, 0);
    const fs::path inOrder = scratch.path() / "em-ordem";
    fs::rename(destino(), inOrder);
    fs::create_directory(destino());

    tables.placement = kLivedIn;
    tables.write(origem());
    ASSERT_EQ(run(firstHalf("--todas")).exitCode, 0);
    ASSERT_EQ(run(firstHalf("--inscricao 2 --arquivo sozinha.txt")).exitCode, 0);
    const std::vector<std::string> names = namesIn(destino());
    ASSERT_EQ(names, namesIn(inOrder));
    ASSERT_EQ(names.size(), 4u);
    for (const std::string& name : names) {
        EXPECT_EQ(readFile(destino() / name), readFile(inOrder / name)) << name;
    }
}

// ---- what it prints

TEST_F(ExportAllTest, OneLinePerRegistrationThenTheTotals) {
    tables.issued = {issued(456.0, day(5, 3), 1), issued(123.0, day(6, 3), 2), issued(123.0, day(7, 3), 3)};
    tables.received = {received(123.0, day(8, 3), 4), received(789.0, day(8, 9), 5)};
    tables.write(origem());
    const test::ProcessEnd result = run(firstHalf("--todas"));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::string files = "Inscrição 123: 2 emitidas, 1 recebidas, " +
                              (destino() / "VRK3_123__01_01_2008__30_06_2008.txt").string() +
                              "\n"
                              "Inscrição 456: 1 emitidas, 0 recebidas, " +
                              (destino() / "VRK3_456__01_01_2008__30_06_2008.txt").string() + "\n";
    ASSERT_TRUE(result.out.starts_with(files)) << result.out;
    const std::regex totals("Total: 2 arquivos, 4 notas em [0-9]+\\.[0-9]{2} s\n"
                            "Emitidas: 3\nRecebidas: 1\nNotas X \\(linhas C\\): 0\n[\\s\\S]*");
    EXPECT_TRUE(std::regex_match(result.out.substr(files.size()), totals)) << result.out;
}

TEST_F(ExportAllTest, ARegistrationThatCannotBeWrittenDoesNotStopTheOthers) {
    tables.issued = {issued(1.0, day(5, 3), 1), issued(2.0, day(6, 3), 2), issued(3.0, day(7, 3), 3)};
    tables.write(origem());
    const fs::path kept = destino() / "VRK3_2__01_01_2008__30_06_2008.txt";
    test::writeFile(kept, "antigo");
    const test::ProcessEnd result = run(firstHalf("--todas"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Inscrição 2: Altere o nome do Arquivo e tente exportar novamente\n");
    EXPECT_EQ(readFile(kept), "antigo");
    EXPECT_EQ(namesIn(destino()), (std::vector<std::string>{"VRK3_1__01_01_2008__30_06_2008.txt",
                                                            "VRK3_2__01_01_2008__30_06_2008.txt",
                                                            "VRK3_3__01_01_2008__30_06_2008.txt"}));
    EXPECT_NE(result.out.find("Total: 2 arquivos, 2 notas em "), std::string::npos) << result.out;
}

// Cut to the header's 11 characters, these would be other taxpayers' numbers.
TEST_F(ExportAllTest, ARegistrationTheHeaderWouldCutGetsNoFileAndFails) {
    const double longWhole = 123456789012345678.0;
    tables.issued = {issued(longWhole, day(5, 3), 1), issued(longWhole, day(6, 3), 2),
                     issued(0.30000000000000004, day(7, 3), 3), issued(12345678901.0, day(8, 3), 4)};
    tables.received = {received(longWhole, day(9, 3), 5)};
    tables.write(origem());
    const test::ProcessEnd all = run(firstHalf("--todas"));
    EXPECT_EQ(all.exitCode, 1);
    EXPECT_EQ(all.err, "Inscrição 0.30000000000000004: 1 nota do período não foi exportada (1 emitidas, 0 "
                       "recebidas): a inscrição tem 19 caracteres, e o cabeçalho do arquivo comporta 11.\n"
                       "Inscrição 123456789012345680: 3 notas do período não foram exportadas (2 emitidas, 1 "
                       "recebidas): a inscrição tem 18 caracteres, e o cabeçalho do arquivo comporta 11.\n");
    EXPECT_EQ(namesIn(destino()), std::vector<std::string>{"VRK3_12345678901__01_01_2008__30_06_2008.txt"});

    const test::ProcessEnd named = run(firstHalf("--inscricao 123456789012345680"));
    EXPECT_EQ(named.exitCode, 2);
    EXPECT_EQ(named.err, "--inscricao recebe no máximo 11 caracteres, os que cabem no cabeçalho do arquivo: "
                         "123456789012345680\nUse kalvian-export --ajuda para ver as opções.\n");
    EXPECT_EQ(namesIn(destino()).size(), 1u);
}

TEST_F(ExportAllTest, OnlyInvoicesWithoutARegistrationWritesNoFileAndFails) {
    IssuedRow empty = issued(WriterValue{}, day(5, 3), 1);
    tables.issued = {empty, issued(kNaN, day(6, 3), 2)};
    tables.write(origem());
    const test::ProcessEnd result = run(firstHalf("--todas"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "2 notas do período não foram exportadas: o INSMUN não identifica uma inscrição "
                          "(vazio em 1, NaN ou infinito em 1)\n");
    EXPECT_TRUE(result.out.starts_with("Nenhuma inscrição tem notas no período.\n")) << result.out;
    EXPECT_TRUE(namesIn(destino()).empty());
}

TEST_F(ExportAllTest, ADamagedTableStopsBeforeAnyFileIsWritten) {
    tables.issued = {issued(1.0, day(5, 3), 1)};
    tables.write(origem());
    fs::resize_file(origem() / "DSREC.DB", 100);
    const test::ProcessEnd result = run(firstHalf("--todas"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Tabela danificada: " + (origem() / "DSREC.DB").string() +
                              " (arquivo menor que o cabeçalho, 100 de 2048 bytes)\n");
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(namesIn(destino()).empty());
}

// ---- hostile surroundings

// Many registrations with enough invoices that a run takes a while.
// ---- hostile surroundings

TEST_F(HostileExportAllTest, TwoRunsAtOnceIntoTheSameFolderBothWriteWholeFiles) {
    const std::string arguments = firstHalf("--todas --substituir");
    ProcessEnd ends[2];
    std::thread other([&] { ends[1] = run(arguments); });
    ends[0] = run(arguments);
    other.join();
    EXPECT_EQ(ends[0].exitCode, 0) << ends[0].err;
    EXPECT_EQ(ends[1].exitCode, 0) << ends[1].err;
    EXPECT_EQ(namesIn(destino()), namesIn(alone()));
    EXPECT_EQ(expectWholeFiles("duas"), 300u);
}

} // namespace
} // namespace kalvian
