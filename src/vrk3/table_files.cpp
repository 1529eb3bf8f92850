#include "table_files.h"

#include "common/ascii_case.h"
#include "common/error.h"
#include "platform/files.h"
#include "platform/path.h"
#include "vrk3/query_host.h"

namespace kalvian {

std::optional<std::string> findTableFile(std::string_view folder, std::string_view name) {
    const std::string exact = MontaCaminho(folder, name);
    if (isPlainFile(exact)) {
        return exact;
    }
    // The joined folder, separator included: what precedes the name.
    const std::string directory = exact.substr(0, exact.size() - name.size());
    std::optional<std::string> found;
    for (const std::string& candidate : folderEntries(directory)) {
        // Folder order is arbitrary; the smallest matching name is taken so the choice never varies.
        if (equalsIgnoringAsciiCase(candidate, name) && (!found || candidate < *found) &&
            isPlainFile(directory + candidate)) {
            found = candidate;
        }
    }
    if (!found) {
        return std::nullopt;
    }
    return directory + *found;
}

std::string sourceTablePath(std::string_view folder, std::string_view name) {
    const auto file = findTableFile(folder, name);
    return file ? *file : MontaCaminho(folder, name);
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
