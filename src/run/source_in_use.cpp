#include "run/source_in_use.h"

#include "vrk3/lock_files.h"

namespace kalvian {

namespace {

// "A", "A e B", "A, B e C".
std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            text += i + 1 == names.size() ? " e " : ", ";
        }
        text += names[i];
    }
    return text;
}

std::string sourceInUseText(const LockFiles& found) {
    const std::string files = listed(found.names);
    const std::string unwritten =
        "Notas digitadas nela podem ainda não estar nos arquivos até que ela seja fechada.";
    if (found.openNow) {
        return "A VRK 3 está aberta agora com estas tabelas (" + files + " em uso).\n" + unwritten;
    }
    return "A VRK 3 parece estar aberta com estas tabelas (" + files + " nesta pasta).\n" + unwritten +
           "\nArquivos deixados por uma VRK 3 que não foi fechada corretamente têm a mesma aparência.";
}

} // namespace

std::optional<std::string> sourceInUseWarning(std::string_view folder) {
    const LockFiles found = findLockFiles(folder);
    if (found.names.empty()) {
        return std::nullopt;
    }
    return sourceInUseText(found);
}

} // namespace kalvian
