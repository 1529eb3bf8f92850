#include "export_format/client_block_layout.h"
#include "export_format/client_blocks.h"
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
    std::unique_ptr<ClientLookup> anotherLookup() const override {
        return std::make_unique<CountingClients>(*this);
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

// The reading back finds the fields where the layout puts them: each lies there in the written block, at its
// justified end, with the missing client's block all fill around its name.
TEST(ClientBlocks, FieldsLieWhereTheLayoutSays) {
    for (const FixedWidthField& field : kClientBlockFields) {
        MemoryRecord client{{"CODCLI", std::int32_t{3}}};
        for (const FixedWidthField& other : kClientBlockFields) {
            client.set(std::string(other.name), std::string());
        }
        client.set(std::string(field.name), std::string("7"));
        MemoryClients clients({client});
        ClientBlocks blocks(clients, 0);
        const std::string block = blockOf(blocks, 3);
        ASSERT_EQ(block.size(), kClientBlockWidth);
        const std::size_t start = clientBlockOffset(field.name);
        const std::string text = block.substr(start, field.width);
        EXPECT_EQ(text, field.fill == '0' ? std::string(field.width - 1, '0') + "7"
                                          : "7" + std::string(field.width - 1, ' '))
            << field.name;
        EXPECT_EQ(block.substr(0, start).find('7'), std::string::npos) << field.name;
        EXPECT_EQ(block.substr(start + field.width).find('7'), std::string::npos) << field.name;
    }
    MemoryClients none;
    ClientBlocks blocks(none, 0);
    const std::string missing = blockOf(blocks, 57);
    EXPECT_EQ(missing.substr(kClientNameOffset, 28), "TOMADOR NAO ENCONTRADO (57) ");
    EXPECT_EQ(missing.substr(kClientNumberOffset, kClientNumberWidth), "00000");
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

TEST(ClientBlocks, ThousandsOfClientsAreEachBuiltOnceAndFoundAgain) {
    // Codes spread and in no order, so the table of kept blocks grows many times and probes collide.
    std::vector<MemoryRecord> all;
    for (std::int32_t n = 1; n <= 5000; ++n) {
        all.push_back({{"CODCLI", n * 7919 % 100003},
                       {"INSMUN", 1.0 * n},
                       {"NUMCNPJ", std::string()},
                       {"NUMCPF", std::string()},
                       {"NOME", "Cliente " + std::to_string(n)},
                       {"RUA", std::string()},
                       {"NUMERO", n},
                       {"COMPLE", std::string()},
                       {"BAIRRO", std::string()},
                       {"CIDADE", std::string()},
                       {"ESTADO", std::string()},
                       {"CEP", std::string()}});
    }
    MemoryClients memory(all);
    struct Counting : ClientLookup {
        explicit Counting(MemoryClients& clients) : clients(clients) {}
        const SourceRecord* find(std::int32_t code) override {
            ++lookups;
            return clients.find(code);
        }
        std::unique_ptr<ClientLookup> anotherLookup() const override {
            return std::make_unique<Counting>(*this);
        }
        MemoryClients& clients;
        int lookups = 0;
    } counting(memory);
    ClientBlocks kept(counting);
    std::map<std::int32_t, std::string> first;
    for (std::int32_t n = 1; n <= 5000; ++n) {
        first[n * 7919 % 100003] = blockOf(kept, n * 7919 % 100003);
    }
    for (const auto& [code, block] : first) {
        ASSERT_EQ(blockOf(kept, code), block) << code;
    }
    EXPECT_EQ(counting.lookups, 5000);
    EXPECT_EQ(first.at(7919).substr(36, 9), "Cliente 1");
    EXPECT_EQ(first.at(5000 * 7919 % 100003).substr(36, 12), "Cliente 5000");
}

} // namespace
} // namespace kalvian
