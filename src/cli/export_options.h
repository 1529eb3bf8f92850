#pragma once

#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace kalvian {

// What the command line asks for.
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
};

// The options, or the usage error to show (in Portuguese).
struct ParsedOptions {
    ExportOptions options;
    std::string usageError;
};

ParsedOptions parseExportOptions(const QStringList& arguments);

// The help text.
std::string exportUsage();

} // namespace kalvian
