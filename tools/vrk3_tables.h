#pragma once

#include "paradox_writer.h"

#include <filesystem>
#include <vector>

namespace kalvian::paradox {

// The three VRK 3 tables with the columns the source queries read, for tests, benchmarks and the bundled
// sample folder. Every value may be set to NULL (std::monostate).

struct IssuedRow {
    WriterValue insmun = 0.0;
    WriterValue data;
    WriterValue serie = std::string("A");
    WriterValue numnf = std::int32_t{1};
    WriterValue modu = std::string("1");
    WriterValue valnf = 0.0;
    WriterValue valser = 0.0;
    WriterValue restrb = std::string(" ");
    WriterValue aliquo = 0.0;
    WriterValue alqret = 0.0;
    WriterValue sitpag = std::string("P");
    WriterValue tipdoc = std::string("NF");
    WriterValue codcli = std::int32_t{0};
};

struct ReceivedRow {
    WriterValue key = std::int32_t{1};
    WriterValue insmun = 0.0;
    WriterValue data;
    WriterValue codcli = std::int32_t{0};
    WriterValue serie = std::string("A");
    WriterValue numnf = std::int32_t{1};
    WriterValue datemi;
    WriterValue modu = std::string("1");
    WriterValue valnf = 0.0;
    WriterValue valser = 0.0;
    WriterValue aliquo = 0.0;
    WriterValue impret = 0.0;
    WriterValue sitpag = std::string("P");
    WriterValue tipdoc = std::string("NF");
};

struct ClientRow {
    WriterValue codcli = std::int32_t{0};
    WriterValue insmun = 0.0;
    WriterValue numcnpj = std::string();
    WriterValue numcpf = std::string();
    WriterValue nome = std::string();
    WriterValue rua = std::string();
    WriterValue numero = std::int32_t{0};
    WriterValue comple = std::string();
    WriterValue bairro = std::string();
    WriterValue cidade = std::string();
    WriterValue estado = std::string();
    WriterValue cep = std::string();
    WriterValue tomado = std::string("S");
    WriterValue presta = std::string("S");
};

TableLayout issuedLayout(int level = 7, int codePage = 850);
TableLayout receivedLayout(int level = 7, int codePage = 850);
TableLayout clientLayout(int level = 7, int codePage = 850);

std::vector<WriterValue> values(const IssuedRow& row);
std::vector<WriterValue> values(const ReceivedRow& row);
std::vector<WriterValue> values(const ClientRow& row);

// Writes DSEMI.DB, DSREC.DB and DSCLI.DB into the folder.
struct Vrk3Tables {
    std::vector<IssuedRow> issued;
    std::vector<ReceivedRow> received;
    std::vector<ClientRow> clients;
    int level = 7;
    int codePage = 850;
    int blockSize = 0; // every table's; 0 gives each its usual size (2048 for invoices, 4096 for clients)
    BlockPlacement placement;

    void write(const std::filesystem::path& folder) const;
};

} // namespace kalvian::paradox
