#pragma once

#include "common/date_serial.h"
#include "common/error.h"
#include "run/export_run.h"
#include "run/recording_view.h"
#include "support/memory_records.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

// The sources of a small export held in memory, and a run of it into a temporary folder.
namespace kalvian::test {

inline const std::string kGoldenDir = std::string(KALVIAN_TEST_DATA_DIR) + "/export";

inline MemoryRecord invoice(int day, const char* modu, std::int32_t number, std::int32_t client) {
    return {{"DATA", DateSerial{toSerial({2008, 3, day})}},
            {"SERIE", std::string("A")},
            {"NUMNF", number},
            {"MODU", std::string(modu)},
            {"VALNF", 1500.5},
            {"VALSER", 1000.0},
            {"RESTRB", std::string("R")},
            {"ALIQUO", 5.0},
            {"ALQRET", 0.0},
            {"IMPRET", 50.0},
            {"CODCLI", client}};
}

inline MemoryRecord client(std::int32_t code, const char* name) {
    return {{"CODCLI", code},
            {"INSMUN", 9876.0},
            {"NUMCNPJ", std::string("12345678000199")},
            {"NUMCPF", std::string("")},
            {"NOME", std::string(name)},
            {"RUA", std::string("Rua das Ac\xE1"
                                "cias")},
            {"NUMERO", std::int32_t{10}},
            {"COMPLE", std::string("")},
            {"BAIRRO", std::string("Centro")},
            {"CIDADE", std::string("Bras\xEDlia")},
            {"ESTADO", std::string("DF")},
            {"CEP", std::string("70000000")}};
}

// Three issued invoices (one short) and two received ones, one of whose clients is missing.
struct Sources {
    MemoryQuery issued{{invoice(3, "1", 101, 1), invoice(4, "X", 102, 2), invoice(5, "2", 103, 2)}};
    MemoryQuery received{{invoice(6, "1", 501, 2), invoice(7, "1", 502, 57)}};
    MemoryClients clients{{client(1, "Jo\xE3o da Silva"), client(2, "Concei\xE7\xE3o Servi\xE7os Ltda")}};
    ExportSources sources() { return {issued, received, clients}; }
};

class ExportRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.folder = folder.path().string();
        view.name = "saida.txt";
    }
    std::string target() const { return folder / "saida.txt"; }
    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
    std::string failureOf(FileCalls& calls = FileCalls::system()) {
        try {
            ExportaDados(view, data.sources(), '/', calls);
        } catch (const Error& error) {
            return error.what();
        }
        return "no error";
    }

    TempFolder folder;
    RecordingView view;
    Sources data;
};

} // namespace kalvian::test
