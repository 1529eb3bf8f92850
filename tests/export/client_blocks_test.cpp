#include "export/client_blocks.h"
#include "support/memory_records.h"

#include <gtest/gtest.h>

#include <map>

namespace kalvian {
namespace {

// Clients 1 and 2, counting how often each code is looked up.
class CountingClients : public ClientLookup {
public:
    CountingClients()
        : m_clients({{{"CODCLI", std::int32_t{1}},
                      {"INSMUN", 7.0},
                      {"NUMCNPJ", std::string("1")},
                      {"NUMCPF", std::string()},
                      {"NOME", std::string("Um")},
                      {"RUA", std::string()},
                      {"NUMERO", std::int32_t{1}},
                      {"COMPLE", std::string()},
                      {"BAIRRO", std::string()},
                      {"CIDADE", std::string()},
                      {"ESTADO", std::string()},
                      {"CEP", std::string()}}}) {}

    const SourceRecord* find(std::int32_t code) override {
        ++lookups[code];
        return m_clients.find(code);
    }
    std::map<std::int32_t, int> lookups;

private:
    MemoryClients m_clients;
};

std::string blockOf(ClientBlocks& blocks, std::int32_t code) {
    std::string line = "prefixo";
    blocks.append(line, code, "TOMADOR NAO ENCONTRADO");
    return line.substr(7);
}

TEST(ClientBlocks, AFoundClientIsBuiltOncePerCode) {
    CountingClients clients;
    ClientBlocks kept(clients);
    const std::string first = blockOf(kept, 1);
    EXPECT_EQ(first.size(), 226u);
    EXPECT_EQ(first.substr(36, 2), "Um");
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(blockOf(kept, 1), first);
        EXPECT_EQ(blockOf(kept, 57).substr(36, 27), "TOMADOR NAO ENCONTRADO (57)");
    }
    EXPECT_EQ(clients.lookups[1], 1);
    // A missing client is asked for every time: nothing is kept for it.
    EXPECT_EQ(clients.lookups[57], 5);
}

TEST(ClientBlocks, NothingIsKeptBeyondTheBudget) {
    CountingClients clients;
    ClientBlocks none(clients, 0);
    const std::string first = blockOf(none, 1);
    EXPECT_EQ(blockOf(none, 1), first);
    EXPECT_EQ(clients.lookups[1], 2);

    CountingClients others;
    ClientBlocks small(others, 451); // not enough for one block with its bookkeeping
    blockOf(small, 1);
    blockOf(small, 1);
    EXPECT_EQ(others.lookups[1], 2);
}

} // namespace
} // namespace kalvian
