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
    bool ajuda = false;
    bool versao = false;
};

// The options, or the usage error to show (in Portuguese).
struct ParsedOptions {
    ExportOptions options;
    std::string usageError;
};

ParsedOptions parseExportOptions(const QStringList& arguments);

// The help text.
std::string exportUsage();

// "kalvian-export <version>".
std::string exportVersion();

} // namespace kalvian
