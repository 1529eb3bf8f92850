#include "paradox/table_error.h"

namespace kalvian::paradox {

Error unreadableTable(const std::string& file, const std::string& reason) {
    return Error("Não foi possível ler a tabela: " + file + " (" + reason + ")");
}

TableChanged tableChanged(const std::string& file) {
    return TableChanged(unreadableTable(file, "o arquivo mudou durante a leitura").what());
}

Error tableHeldElsewhere(const std::string& file) {
    return unreadableTable(file, "outro programa, talvez a VRK 3, está usando o arquivo");
}

Error damagedTable(const std::string& file, const std::string& what) {
    return Error("Tabela danificada: " + file + " (" + what + ")");
}

Error encryptedTable(const std::string& file) {
    return Error("Tabela criptografada não suportada: " + file);
}

Error notADataTable(const std::string& file, const std::string& what) {
    return Error("Arquivo não é uma tabela de dados Paradox: " + file + " (" + what + ")");
}

Error unsupportedCodePage(const std::string& file, int codePage) {
    return Error("Página de código não suportada: " + file + " (" + std::to_string(codePage) + ")");
}

} // namespace kalvian::paradox
