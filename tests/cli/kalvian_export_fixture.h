#pragma once

#include "cli/program_run.h"
#include "common/date_serial.h"
#include "support/temp_folder.h"
#include "vrk3_tables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// kalvian-export over two declarants' tables of March 2008, written by the project's writer, into a folder
// of their own.
namespace kalvian::test {

using paradox::ClientRow;
using paradox::IssuedRow;
using paradox::ReceivedRow;

inline double day(int d, int m = 3) {
    return toSerial({2008, m, d});
}

// What the command line says of a folder with PDOXUSRS.LCK and dsemi.lck in it, on stderr.
inline const std::string kLockFilesWarning =
    "A VRK 3 parece estar aberta com estas tabelas (PDOXUSRS.LCK e dsemi.lck nesta pasta).\n"
    "Notas digitadas nela podem ainda não estar nos arquivos até que ela seja fechada.\n"
    "Arquivos deixados por uma VRK 3 que não foi fechada corretamente têm a mesma aparência.\n";

// Two declarants; 123 has an E line, a C line, an E line whose client is gone, and two R lines.
inline paradox::Vrk3Tables demoTables() {
    paradox::Vrk3Tables tables;
    IssuedRow e1;
    e1.insmun = 123.0;
    e1.data = day(3);
    e1.serie = std::string("A");
    e1.numnf = std::int32_t{101};
    e1.valnf = 1500.5;
    e1.valser = 1000.0;
    e1.restrb = std::string("R");
    e1.aliquo = 5.0;
    e1.codcli = std::int32_t{1};
    IssuedRow c = e1;
    c.data = day(4);
    c.modu = std::string("X");
    c.numnf = std::int32_t{102};
    IssuedRow lost = e1;
    lost.data = day(31);
    lost.numnf = std::int32_t{103};
    lost.restrb = std::string(" ");
    lost.alqret = 2.0;
    lost.codcli = std::int32_t{57};
    IssuedRow other = e1;
    other.insmun = 456.0;
    IssuedRow april = e1;
    april.data = day(1, 4);
    tables.issued = {e1, other, c, april, lost};

    ReceivedRow r1;
    r1.key = std::int32_t{1};
    r1.insmun = 123.0;
    r1.data = day(10);
    r1.codcli = std::int32_t{2};
    r1.serie = std::string("B");
    r1.numnf = std::int32_t{7};
    r1.valnf = 200.0;
    r1.valser = 150.25;
    r1.aliquo = 2.5;
    r1.impret = 3.75;
    ReceivedRow r2 = r1;
    r2.key = std::int32_t{2};
    r2.data = day(1);
    r2.numnf = std::int32_t{8};
    r2.codcli = std::int32_t{0};
    tables.received = {r1, r2};

    ClientRow joao;
    joao.codcli = std::int32_t{1};
    joao.insmun = 12345678901.0;
    joao.numcnpj = std::string("12345678000199");
    joao.nome = std::string("Jo\xE3o da Silva Servi\xE7os");
    joao.rua = std::string("Rua da Consola\xE7\xE3o");
    joao.numero = std::int32_t{1500};
    joao.bairro = std::string("Centro");
    joao.cidade = std::string("S\xE3o Paulo");
    joao.estado = std::string("SP");
    joao.cep = std::string("01301000");
    ClientRow maria = joao;
    maria.codcli = std::int32_t{2};
    maria.insmun = 0.0;
    maria.numcnpj = std::string();
    maria.numcpf = std::string("12345678909");
    maria.nome = std::string("Maria Concei\xE7\xE3o");
    tables.clients = {maria, joao};
    return tables;
}

class KalvianExportTest : public ::testing::Test {
public:
    void SetUp() override {
        std::filesystem::create_directory(source.path() / "vrk3");
        std::filesystem::create_directory(source.path() / "saida");
        demoTables().write(origem());
    }

    std::string origem() const { return (source.path() / "vrk3").string(); }
    std::string destino() const { return (source.path() / "saida").string(); }
    std::string exported() const {
        return (source.path() / "saida" / "VRK3_123__01_03_2008__31_03_2008.txt").string();
    }

    // Runs the program with a "C" locale, whose date separator is "/", in the destination folder.
    ProcessEnd run(const std::string& arguments) const { return runExport(arguments, destino()); }
    std::string march(const std::string& more = "") const {
        return "--origem '" + origem() + "' --inicio 01/03/2008 --fim 31/03/2008 " + more;
    }
    TempFolder source;
};

} // namespace kalvian::test
