#pragma once

#include "export_format/written_lines.h"

#include <functional>
#include <string>
#include <vector>

namespace kalvian::test {

// A sound export file, line by line: the header, an E line whose client is found, a C line, and an R line
// whose client (57) is missing.
inline std::vector<std::string> soundLines() {
    Invoice missing;
    missing.codcli = 57;
    return {headerLine(), issuedLine(Invoice{}), issuedLine(shortInvoice()), receivedLine(missing)};
}

inline std::string joined(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line;
    }
    return bytes;
}

// One way a file can be damaged, and what the check must say about it.
struct Damage {
    const char* name;
    std::function<void(std::vector<std::string>&)> damage;
    const char* message;
};

// Lines: [0] H (14 + CR LF), [1] E (288), [2] C (30), [3] R (307). E columns: DATA 2-11, SERIE 12, NUMNF
// 14-21, VALNF 22-36, VALSER 37-51, client 63-288 (name 99-168, NUMERO 209-213). R: DATA 2-11 and 12-21.
inline std::vector<Damage> damages() {
    return {
        // The six damages of a file copied, mailed or edited by hand.
        {"linha-curta", [](auto& l) { l[1].erase(120, 1); },
         "linha 2: linha curta: 287 caracteres; esta linha E deveria ter 288"},
        {"linha-longa", [](auto& l) { l[1].insert(120, "x"); },
         "linha 2: linha longa: 289 caracteres; esta linha E deveria ter 288"},
        {"so-lf", [](auto& l) { l[1].erase(288, 1); },
         "linha 2: a linha termina só com LF, sem o CR (coluna 289)"},
        {"sem-cabecalho", [](auto& l) { l.erase(l.begin()); },
         "linha 1: falta o cabeçalho: a primeira linha deve ser do tipo H, não E"},
        {"letra-num-valor", [](auto& l) { l[1][24] = 'A'; },
         "linha 2: campo VALNF inválido a partir da coluna 22: \"000A00001500.50\""},
        {"data-impossivel", [](auto& l) { l[1].replace(1, 10, "31/02/2008"); },
         "linha 2: data impossível no campo DATA (colunas 2-11): \"31/02/2008\""},

        // Lines and their order.
        {"arquivo-vazio", [](auto& l) { l.clear(); }, "linha 1: arquivo vazio; falta o cabeçalho (linha H)"},
        {"linha-vazia", [](auto& l) { l.insert(l.begin() + 2, "\r\n"); }, "linha 3: linha vazia"},
        {"tipo-desconhecido", [](auto& l) { l[2][0] = 'X'; },
         "linha 3: tipo de linha desconhecido: \"X\" (as linhas começam com H, E, C ou R)"},
        {"tipo-em-minuscula", [](auto& l) { l[1][0] = 'e'; },
         "linha 2: tipo de linha desconhecido: \"e\" (as linhas começam com H, E, C ou R)"},
        {"cabecalho-repetido", [](auto& l) { l.insert(l.begin() + 2, headerLine()); },
         "linha 3: cabeçalho repetido: só a primeira linha é do tipo H"},
        {"emitida-depois-das-recebidas", [](auto& l) { std::swap(l[2], l[3]); },
         "linha 4: linha C depois das linhas R: as notas emitidas vêm antes das recebidas"},
        {"cabecalho-curto", [](auto& l) { l[0].erase(1, 1); },
         "linha 1: linha curta: 13 caracteres; uma linha H tem 14"},
        {"linha-c-longa", [](auto& l) { l[2].insert(29, "9"); },
         "linha 3: linha longa: 31 caracteres; uma linha C tem 30"},
        {"e-cortada-no-valor", [](auto& l) { l[1] = l[1].substr(0, 30) + "\r\n"; },
         "linha 2: linha curta: 30 caracteres; uma linha E tem pelo menos 288"},
        {"r-cortada-no-fim", [](auto& l) { l[3].resize(100); },
         "linha 4: linha curta: 100 caracteres; esta linha R deveria ter 307"},
        {"sem-fim-de-linha-no-fim", [](auto& l) { l[3].resize(307); },
         "linha 4: falta o fim de linha (CR LF) no fim do arquivo (coluna 308)"},
        {"termina-com-cr", [](auto& l) { l[3].resize(308); },
         "linha 4: o arquivo termina com CR, sem o LF (coluna 308)"},

        // Fields.
        {"versao-do-cabecalho", [](auto& l) { l[0][13] = '1'; },
         "linha 1: esperado \"40\" nas colunas 13-14, encontrado \"41\""},
        {"c-sem-11", [](auto& l) { l[2][12] = '2'; },
         "linha 3: esperado \"11\" nas colunas 12-13, encontrado \"12\""},
        {"data-mal-formada", [](auto& l) { l[1].replace(1, 10, "2008-03-15"); },
         "linha 2: campo DATA mal formado nas colunas 2-11: \"2008-03-15\" (esperado DD/MM/AAAA)"},
        {"separador-trocado", [](auto& l) { l[3][3] = l[3][6] = l[3][13] = l[3][16] = '.'; },
         "linha 4: separador de data \".\" diferente do das linhas anteriores (\"/\")"},
        {"datas-da-r-diferem", [](auto& l) { l[3][12] = '6'; },
         "linha 4: o segundo campo DATA (colunas 12-21) difere do primeiro: \"16/03/2008\""},
        {"controle-na-serie", [](auto& l) { l[1][11] = '\x01'; },
         "linha 2: caractere de controle no campo SERIE (coluna 12)"},
        {"numero-da-nota", [](auto& l) { l[1][20] = 'a'; },
         "linha 2: campo NUMNF inválido nas colunas 14-21: \"0000004a\""},
        {"numeros-da-c-diferem", [](auto& l) { l[2][29] = '4'; },
         "linha 3: o segundo campo NUMNF (colunas 23-30) difere do primeiro: \"00000044\""},
        {"numero-do-cliente", [](auto& l) { l[1][211] = 'x'; },
         "linha 2: campo NUMERO do cliente inválido nas colunas 209-213: \"001x0\""},
        {"virgula-decimal", [](auto& l) { l[1][33] = ','; },
         "linha 2: campo VALNF inválido a partir da coluna 22: \"000000001500,50\""},
        {"zero-a-mais", [](auto& l) { l[1].insert(21, "0"); },
         "linha 2: campo VALNF inválido a partir da coluna 22: \"0000000001500.50\""},
        {"zero-negativo", [](auto& l) { l[1].replace(36, 15, "-000000000000.00"); },
         "linha 2: campo VALSER inválido a partir da coluna 37: \"-000000000000.00\""},
        {"sinal-de-mais", [](auto& l) { l[1][21] = '+'; },
         "linha 2: campo VALNF inválido a partir da coluna 22: \"+00000001500.50\""},
        {"expoente-pequeno", [](auto& l) { l[1].replace(21, 15, "1.5E17         "); },
         "linha 2: campo VALNF inválido a partir da coluna 22: \"1.5E17\""},
        {"zeros-na-mantissa", [](auto& l) { l[1].replace(21, 15, "1.5000000000E99"); },
         "linha 2: campo VALNF inválido a partir da coluna 22: \"1.5000000000E99\""},
        {"aliquota-sem-decimais", [](auto& l) { l[1].replace(52, 5, "05.0 "); },
         "linha 2: campo ALIQUO inválido a partir da coluna 53: \"05.0 \""},
    };
}

} // namespace kalvian::test
