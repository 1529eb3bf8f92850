// Writes the demo table (one field of every type the writer writes), e.g. as fuzzing seeds:
//   paradox_write OUT.DB LEVEL CODEPAGE BLOCKSIZE ROWS [FREEBLOCKS]
// With FREEBLOCKS given the data blocks are also stored out of chain order.
#include "common/error.h"
#include "demo_table.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    using namespace kalvian::paradox;
    if (argc != 6 && argc != 7) {
        std::cerr << "uso: paradox_write SAIDA.DB NIVEL PAGINA BLOCO LINHAS [BLOCOS_LIVRES]\n";
        return 2;
    }
    try {
        TableWriter writer(demoLayout(std::stoi(argv[2]), std::stoi(argv[3]), std::stoi(argv[4])));
        const auto rows = std::stoul(argv[5]);
        for (std::size_t i = 0; i < rows; ++i) {
            writer.addRow(demoRow(i));
        }
        BlockPlacement placement;
        if (argc == 7) {
            placement.shuffled = true;
            placement.freeBlocks = std::stoi(argv[6]);
        }
        writer.writeFile(argv[1], placement);
    } catch (const kalvian::Error& error) {
        std::cerr << error.what() << '\n';
        return 1;
    } catch (const std::logic_error&) {
        std::cerr << "número inválido nos argumentos\n";
        return 2;
    }
    return 0;
}
