#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kalvian {

// What the command line asks for. origem, destino and arquivo hold the arguments' bytes, the rest UTF-8.
struct ExportOptions {
    std::string origem;
    std::vector<std::string> inscricoes;
    bool todas = false;
    std::string inicio;
    std::string fim;
    std::optional<std::string> destino;
    std::optional<std::string> arquivo;
    bool substituir = false;
    std::optional<std::string> resumo;   // the CSV summary of the run
    std::optional<std::string> conferir; // check this export file instead of exporting
    bool ajuda = false;
    bool versao = false;
};

// The options, or the usage error to show (in Portuguese).
struct ParsedOptions {
    ExportOptions options;
    std::string usageError;
};

// The program's arguments, the program first, as the bytes the system passed: folders and file names keep
// them, so a name that is not UTF-8 still names its file; the other values are read as UTF-8.
ParsedOptions parseExportOptions(const std::vector<std::string>& arguments);

// The help text.
std::string exportUsage();

// "kalvian-export <version>".
std::string exportVersion();

} // namespace kalvian
