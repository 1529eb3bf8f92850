#include "table_files.h"

#include "common/ascii_case.h"
#include "common/error.h"
#include "common/path.h"
#include "vrk3/query_host.h"

#include <system_error>

namespace kalvian {

namespace {

bool isFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

std::optional<std::filesystem::path> findTableFile(std::string_view folder, std::string_view name) {
    const std::filesystem::path exact = MontaCaminho(folder, name);
    if (isFile(exact)) {
        return exact;
    }
    const std::filesystem::path directory = exact.parent_path();
    std::error_code error;
    std::filesystem::directory_iterator entries(directory.empty() ? "." : directory, error);
    std::optional<std::filesystem::path> found;
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::filesystem::path& candidate = entries->path();
        // Directory order is arbitrary; the smallest matching name is taken so the choice never varies.
        if (equalsIgnoringAsciiCase(candidate.filename().string(), name) && isFile(candidate) &&
            (!found || candidate.filename() < found->filename())) {
            found = candidate;
        }
    }
    return found;
}

paradox::Table openSourceTable(std::string_view folder, std::string_view name) {
    const auto file = findTableFile(folder, name);
    return paradox::Table::open(file ? *file : std::filesystem::path(MontaCaminho(folder, name)));
}

void checkSourceFiles(std::string_view folder, QueryHost& host) {
    const struct {
        const char* file;
        const char* kind;
    } tables[] = {
        {kIssuedTableFile, "Arquivo de Notas Emitidas não foi encontrado."},
        {kReceivedTableFile, "Arquivo de Notas Recebidas não foi encontrado."},
        {kClientTableFile, "Arquivo de Clientes não foi encontrado."},
    };
    for (const auto& table : tables) {
        if (!findTableFile(folder, table.file)) {
            host.focusSourceFolder();
            throw Error(std::string(table.kind) + "\n(" + table.file + ")");
        }
    }
}

} // namespace kalvian
