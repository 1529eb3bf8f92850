#pragma once

#include "common/date_serial.h"
#include "support/run_program.h"
#include "support/temp_folder.h"
#include "vrk3_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// kalvian-export as a real process over tables written by the project's writer, in a destination folder of
// its own.
namespace kalvian::test {

inline const std::string kAlterName = "Altere o nome do Arquivo e tente exportar novamente\n";
inline const std::string kMarchName = "VRK3_123__01_03_2008__31_03_2008.txt";

// Registration 123 has `issued` invoices in March 2008 (enough to keep a run writing for a while when
// many), registration 456 has one.
inline paradox::Vrk3Tables marchTables(int issued) {
    paradox::Vrk3Tables tables;
    paradox::IssuedRow row;
    row.insmun = 123.0;
    row.data = toSerial({2008, 3, 10});
    row.valnf = 1500.5;
    row.codcli = std::int32_t{1};
    for (int number = 1; number <= issued; ++number) {
        row.numnf = std::int32_t{number};
        tables.issued.push_back(row);
    }
    row.insmun = 456.0;
    tables.issued.push_back(row);
    paradox::ClientRow client;
    client.codcli = std::int32_t{1};
    client.nome = std::string("Jo\xE3o da Silva");
    tables.clients = {client};
    return tables;
}

class ExportFileSafetyTest : public ::testing::Test {
public:
    // Tables are written once: a few invoices, enough for a run of a blink, and enough for an export file of
    // about 9 MB.
    static void SetUpTestSuite() {
        s_tables = std::make_unique<TempFolder>();
        std::filesystem::permissions(
            s_tables->path(), std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                  std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                                  std::filesystem::perms::others_exec);
        for (const auto& [name, issued] :
             {std::pair{"poucas", 3}, std::pair{"medias", 5000}, std::pair{"muitas", 30000}}) {
            std::filesystem::create_directory(s_tables->path() / name);
            marchTables(issued).write(s_tables->path() / name);
        }
    }
    static void TearDownTestSuite() { s_tables.reset(); }

    void SetUp() override {
        std::filesystem::permissions(work.path(), std::filesystem::perms::owner_all |
                                                      std::filesystem::perms::group_exec |
                                                      std::filesystem::perms::others_exec);
        std::filesystem::create_directory(destino());
    }

    static std::string tables(const char* which) { return (s_tables->path() / which).string(); }
    std::filesystem::path destino() const { return work.path() / "saida"; }
    std::string exported(const std::string& name = kMarchName) const { return (destino() / name).string(); }

    // The program's arguments for a period over one of the table folders, then `more`.
    static std::vector<std::string> period(const char* which, const std::string& inicio,
                                           const std::string& fim, const std::vector<std::string>& more) {
        std::vector<std::string> arguments = {
            KALVIAN_EXPORT_PROGRAM, "--origem", tables(which), "--inicio", inicio, "--fim", fim};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    }
    static std::vector<std::string> march(const char* which, const std::vector<std::string>& more) {
        return period(which, "01/03/2008", "31/03/2008", more);
    }
    // Runs in the destination folder with a "C" locale, whose system texts are English.
    Program program(std::vector<std::string> arguments) const {
        return {std::move(arguments), destino(), {"LC_ALL=C"}};
    }
    ProcessEnd run(std::vector<std::string> arguments) const {
        return runProgram(program(std::move(arguments)));
    }
    // The arguments with a copy of the program that an ordinary user may run wherever the build lies.
    std::vector<std::string> ordinaryUsersCopy(std::vector<std::string> arguments) const {
        arguments.front() = (work.path() / "kalvian-export").string();
        std::filesystem::copy_file(KALVIAN_EXPORT_PROGRAM, arguments.front());
        using std::filesystem::perms;
        std::filesystem::permissions(arguments.front(), perms::owner_all | perms::group_read |
                                                            perms::group_exec | perms::others_read |
                                                            perms::others_exec);
        return arguments;
    }

    inline static std::unique_ptr<TempFolder> s_tables;
    TempFolder work;
};

inline std::string describe(const ProcessEnd& end) {
    return "exit " + std::to_string(end.exitCode) + ", signal " + std::to_string(end.signal) +
           ", stderr: " + end.err;
}

} // namespace kalvian::test
